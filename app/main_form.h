#pragma once

#include "users/user_profile.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;
class TImageLoader;
namespace plat {
class WavePlayer;
}

// The one main window: a borderless, always-on-top window covering the
// screen with the designed 640 x 480 panel scaled and centred on white. It
// owns all run-time state of the program.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Zernox 2 ~ 1.0 release 1";
    static constexpr const char* kClassName = "Zernox 2";

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Window creation, step by step. False when the screen is too small for
    // the smallest layout; the program then ends with exit code 1.
    bool FormCreate();

    // Another start asked this instance to come forward.
    void ActivateInstance();

    // Selects a page of MainPages by name; false when there is none.
    bool ShowPage(const QString& name);
    QString ActivePageName() const;

    // Resets the user record, the current test and the test-run counters and
    // times as one block (start-up, log-off, adding a user).
    void ResetUserAndTestRun();

    // State owned by the window; the subsystems use these names.
    std::string CatalogueText;
    uint16_t StatusFlags = 0;
    int ShownQuestionRec = 0;
    std::vector<std::string> PictureIndex;
    std::vector<std::string> RecordIndex;
    TUserProfile UserProfile;
    std::string CurrentTest;
    int QuestionNo = 0;
    int TestQuestionCount = 0;
    double UsedTime = 0;
    double QuestionStart = 0;
    double LastTick = 0;
    uint8_t AnswerLength = 0;
    uint8_t ChoiceCount = 0;
    bool FeedbackPending = false;
    int LayoutSize = 0;

    // Controls, named as their objectName.
    QFrame* MainFormPanel = nullptr;
    QFrame* HeaderPnl = nullptr;
    QPushButton* InfoBtn = nullptr;
    QPushButton* SoundBtn = nullptr;
    QLabel* HeaderBk = nullptr;
    QLabel* CaptionLbl = nullptr;
    QPushButton* MinimizeBtn = nullptr;
    QPushButton* QuitBtn = nullptr;
    QFrame* NavPnl = nullptr;
    QFrame* MainPnl = nullptr;
    QStackedWidget* MainPages = nullptr;
    QTimer* TestTimer = nullptr;
    TImageLoader* anImage = nullptr;
    plat::WavePlayer* MediaPlayer = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    QWidget* AddPage(const char* name);
    void ConfigureImageLoader();
    void SizeToScreen();
    void CentrePanel();

    // Steps that belong to subsystems built on top of this window.
    void CreateMarkupViews();
    void GiveListsFlatLook();
    void PlaceMarkupBackgrounds();
    void LoadWindowPictures();
    void ReadPictureArchiveIndex();
    void OpenRecordDatabase();
    void LoadUserList();
    void LogOff();
    void ShowAboutAtShutdown();
    void DestroyIntro();
    void UpdateStatus();

    bool shownOnce_ = false;
    bool closing_ = false;
};
