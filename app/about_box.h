#pragma once

#include <QWidget>

class QFrame;
class TBaseBtn;
class TProportionalImage;

// The about window: the program's picture with two hot spots over the logos
// of publisher and maker. It hides when it loses the focus or on Enter or
// Escape without Shift, Ctrl or Alt, and is shown again by the next call.
class TAboutBox : public QWidget {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* BkPanel = nullptr;
    TProportionalImage* AboutBoxImage = nullptr;
    TBaseBtn* OstrelSBtn = nullptr;
    TBaseBtn* KorvaneSBtn = nullptr;

    void OstrelSBtnClick();
    void KorvaneSBtnClick();

protected:
    void changeEvent(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void OpenSite(const char* url);
};

// Shows the about window, creating it the first time.
void ShowAboutBox();
// Hides it if it is shown.
void CloseAboutBox();
bool AboutBoxExists();
TAboutBox* AboutBox(); // nullptr when there is none
// Destroys it (at the end of the program).
void DestroyAboutBox();
