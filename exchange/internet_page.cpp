#include "exchange/internet_page.h"

#include "widgets/base_btn.h"

#include <QAbstractButton>
#include <QWidget>

namespace {

// Connects a click of the named button to action; false when there is no
// such button.
template <typename Action>
bool ConnectClick(QWidget* page, const char* name, TInternetExchange* context, Action action) {
    QWidget* button = page->findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* skinned = qobject_cast<TBaseBtn*>(button)) {
        QObject::connect(skinned, &TBaseBtn::OnClick, context, action);
        return true;
    }
    if (auto* plain = qobject_cast<QAbstractButton*>(button)) {
        QObject::connect(plain, &QAbstractButton::clicked, context, action);
        return true;
    }
    return false;
}

} // namespace

TInternetExchange* AttachInternetPage(QWidget* page, TMessageShower shower) {
    if (!page)
        return nullptr;
    const QString name = QStringLiteral("InternetExchange");
    if (auto* existing = page->findChild<TInternetExchange*>(name, Qt::FindDirectChildrenOnly))
        return existing;
    auto* exchange = new TInternetExchange(page, std::move(shower));
    const bool up = ConnectClick(page, "InternetUpLoadBtn", exchange,
                                 [exchange] { exchange->InternetUpLoadBtnClick(); });
    const bool down = ConnectClick(page, "InternetDownloadBtn", exchange,
                                   [exchange] { exchange->InternetDownloadBtnClick(); });
    if (!up && !down) {
        delete exchange;
        return nullptr;
    }
    return exchange;
}
