#include "app/main_form.h"

// The reference pages ("Achtergronden") and the help page.

// FIXME: the reference pages show the topic selected in BkInfoIndexLst.
void TMainForm::ShowSelectedBkInfoTopic() {}
