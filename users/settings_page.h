#pragma once

#include "users/settings_values.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TSpinner;

// The controls of the settings page ("Config") that show and take the
// record. The main window creates them; any of them may be missing (null),
// which leaves its value alone.
struct TSettingsPageControls {
    QLabel* ConfigName = nullptr;
    QCheckBox* ConfigMaleChkBx = nullptr;
    QCheckBox* ConfigFemaleChkBx = nullptr;
    QLineEdit* ConfigAgeEdit = nullptr;
    QComboBox* ConfigHairLst = nullptr;      // hidden, still carries its value
    QComboBox* ConfigEyesLst = nullptr;      // hidden, still carries its value
    QLineEdit* ConfigShoeSizeEdit = nullptr; // hidden, still carries its value
    QCheckBox* ConfigDirectFBChkBx = nullptr;
    QCheckBox* ConfigTimeLimitQChkBx = nullptr;
    TSpinner* ConfigTimeLimitQChkBxSpnnr = nullptr;
    QCheckBox* ConfigTimeLimitTChkBx = nullptr;
    TSpinner* ConfigTimeLimitTChkBxSpnnr = nullptr;
};

// Gives the lists their colours, the spin fields their ranges and initial
// value 10, checks "Man" and hides hair, eyes and shoe size.
void PrepareSettingsPage(const TSettingsPageControls& page);

// Shows `user` on the page (name, gender pair, age, colours, shoe size,
// check boxes, time limits).
void ShowUserOnPage(const TSettingsPageControls& page, const TUserProfile& user);

// What the page holds now.
TSettingsValues SettingsOfPage(const TSettingsPageControls& page);

// ConfigGenderChkBxClick: call after either gender box was clicked; keeps
// exactly one of the pair checked.
void ConfigGenderChkBxClick(const TSettingsPageControls& page, const QCheckBox* clicked);
