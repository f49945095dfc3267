#pragma once

#include "exchange/internet_exchange.h"

class QWidget;

// Wires the Internet page: finds its buttons "InternetUpLoadBtn" and
// "InternetDownloadBtn" among the page's children (skinned buttons or plain
// push buttons) and connects their clicks to the upload and the download.
// The page owns the returned object. Calling it again for the same page
// returns the object made the first time and connects nothing twice. Returns
// nullptr for a null page or a page without either button.
//
// The main window calls it once, after the page's controls exist:
//     AttachInternetPage(MainPages->findChild<QWidget*>(QStringLiteral("Internet")));
TInternetExchange* AttachInternetPage(QWidget* page, TMessageShower shower = {});
