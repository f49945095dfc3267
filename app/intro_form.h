#pragma once

#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class TBkControl;
class TGauge;

// The small picture window shown while start-up loads the record database,
// with the loading progress at its bottom.
class TIntroForm : public QWidget {
    Q_OBJECT
public:
    explicit TIntroForm(QWidget* parent = nullptr);

    QFrame* BackgroundPnl = nullptr;
    TBkControl* IntroFormImg = nullptr;
    QLabel* Text = nullptr;
    TGauge* Gauge = nullptr;
};

// Shows the intro window, creating it when it does not exist yet.
void ShowIntro();
// Destroys the intro window if it exists (the main window's first showing).
void DestroyIntro();
bool IntroExists();
TIntroForm* IntroForm(); // nullptr when there is none

// A progress callback for loading that advances the intro's gauge while the
// window exists; empty when there is no intro window.
std::function<void(int percent)> IntroProgress();
