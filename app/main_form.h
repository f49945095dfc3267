#pragma once

#include "app/main_form_controls.h"
#include "app/status_flags.h"
#include "exam/run.h"
#include "recdb/db_rec_file.h"
#include "users/user_pages_host.h"
#include "users/user_profile.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TImageLoader;
struct TUserPages;
namespace plat {
class WavePlayer;
enum class WaveStatus;
} // namespace plat

// The one main window: a borderless, always-on-top window covering the
// screen with the designed 640 x 480 panel scaled and centred on white. It
// owns all run-time state of the program; the test-run fields (CurrentTest,
// QuestionNo, ShownQuestionRec, ...) are held by its one test run.
class TMainForm : public QWidget, private TMainFormControls {
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

    // Derives from the flags and a few field contents which controls are
    // enabled, visible and how they are captioned; saves the settings page
    // when it has been left. Every handler that changes state ends with it.
    void UpdateStatus();
    // The 16-bit set of page and test states: the run's bits and the page
    // visits. Log-off clears both.
    uint16_t StatusFlags() const;
    void ClearStatusFlags();

    // Plays a wave file given relative to the program directory (such as
    // "a\\2.wav") from its beginning, cutting off any sound still playing;
    // silent, and stopping what plays, when sound is off or the file is
    // missing.
    void PlaySound(std::string_view relativePath);
    void StopSound();
    // Sound is on while SoundBtn is down.
    bool SoundOn() const;
    // Replaces the wave player (tests); the window takes ownership.
    void SetWavePlayer(plat::WavePlayer* player);

    // Page buttons and header buttons.
    void LogOnOffBtnClick();
    void ConfigBtnClick();
    void InternetBtnClick();
    void SelectTestBtnClick();
    void PauseTestBtnClick();
    // PauseTestBtn down and captioned "Test vervolgen", or up with "Test pauzeren".
    void SetPauseButton(bool pressed);
    void BkInfoBtnClick();
    void HelpBtnClick();
    void SoundBtnClick();
    void InfoBtnClick();
    // A topic chosen in BkInfoIndexLst: its text, then the status update.
    void BkInfoIndexLstChange();

    // The Test page's handlers; the test engine does the work.
    void TestTextHyperLinkClick(const std::string& target);
    void DeleteAnswerBtnClick();
    void NextQuestionBtnClick();
    void PreviousQuestionBtnClick();
    void TestTimerTimer();
    TTestRun& TestRun();

    // The loader that reads the window pictures; it is left without a name.
    const TImageLoader& ImageLoader() const;

    // State owned by the window; the subsystems use these names.
    std::string CatalogueText;
    std::vector<std::string> PictureIndex;
    std::unique_ptr<TiDbRecFile> RecordDb;
    TRecordIndex RecordIndex;
    TUserProfile UserProfile;
    int LayoutSize = 0;

    // Progress of loading the record database (percent): the intro window's
    // gauge while that window exists; empty when there is none.
    std::function<void(int percent)> LoadGauge;
    // How shutdown waits while the about window shows; tests shorten it.
    std::function<void(int milliseconds)> WaitMs;
    // The standard boxes of the user pages: "Unable to write to " + file
    // name, and the "Confirm" question (true for Yes). Tests answer them.
    std::function<void(const QString& fileName)> ShowWriteErrorBox;
    std::function<bool(const QString& question)> AskConfirmBox;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Keys the focused control left alone: the Test page's choice, delete
    // and next keys.
    void keyPressEvent(QKeyEvent* event) override;

    // Steps that the user store and the reference pages carry out; the
    // status rules and the page buttons call them at fixed moments.
    virtual void SaveUser();                // the settings page was left
    virtual void ShowSelectedBkInfoTopic(); // the chosen reference topic

private:
    // The engine's and the user pages' views of the window work its controls.
    friend class TMainFormTestHost;
    friend class TMainFormUserHost;

    void BuildControls();
    void BuildHeader();
    void BuildNavigation();
    void BuildLogOnOffPage();
    void BuildConfigPage();
    void BuildTestPage();
    void BuildInternetPage();
    void BuildBkInfoPage();
    void BuildHelpPage();
    void ConnectButtons();
    void WireTestPage();      // the Test page's buttons and TestTimer
    void WireTestView();      // link clicks and choices of TestView
    void WireReferencePage(); // the owner-drawn topic list and its choice
    // True when the key stood for a click on the Test page and it was given.
    bool HandleTestPageKey(int key, Qt::KeyboardModifiers modifiers);
    QWidget* AddPage(const char* name);
    void ConfigureImageLoader();
    void SizeToScreen();
    void CentrePanel();

    // Sound and hover feedback.
    void MediaPlayerNotify(plat::WaveStatus status);
    // Whether destroying one of the window's buttons stops the sound; off
    // before the player goes.
    void StopSoundWhenButtonsGo(bool on);
    void ButtonMouseIn(QObject* sender);
    void ButtonMouseOut(QObject* sender);

    // Steps that belong to subsystems built on top of this window.
    void CreateMarkupViews();
    void GiveListsFlatLook();
    void PlaceMarkupBackgrounds();
    void LoadWindowPictures();
    void ReadPictureArchiveIndex();
    void OpenRecordDatabase();
    void LoadUserList();
    void LogOff();
    // The log-on and settings pages: their handlers and host.
    void WireUserPages();
    TUserPages UserPages();
    void ShowAboutAtShutdown();
    void DestroyIntro();

    std::string soundFile_; // the player's file name; empty before the first sound
    bool shownOnce_ = false;
    bool closing_ = false;
    std::unique_ptr<TTestPageHost> testHost_; // the window as the test engine sees it
    std::unique_ptr<TTestRun> testRun_;       // owns the test run's state
    TPageVisits visits_;
    std::unique_ptr<TUserPagesHost> userHost_; // the window as the user pages see it
};
