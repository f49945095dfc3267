#include "app/main_form.h"

#include "app/reference_topic_list.h"
#include "markup/parser_control.h"
#include "markup/reference_topics.h"
#include "platform/ansi.h"
#include "recdb/record_index.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>

// The reference pages ("Achtergronden"): the owner-drawn topic list and the
// chosen topic's record shown in BkInfoView. Links in these texts lead
// nowhere: the view has no link handler.

void TMainForm::WireReferencePage() {
    MakeOwnerDrawnTopicList(BkInfoIndexLst);
    // Only a choice by the user runs the topic step here; the page button
    // selects programmatically and runs it itself.
    connect(BkInfoIndexLst, &QComboBox::activated, this, [this] { BkInfoIndexLstChange(); });
}

void TMainForm::BkInfoIndexLstChange() {
    ShowSelectedBkInfoTopic();
    UpdateStatus();
}

void TMainForm::ShowSelectedBkInfoTopic() {
    if (!RecordDb || RecordDb->ActiveCount() < 1 || !BkInfoIndexLst || !BkInfoView)
        return;
    const int index = BkInfoIndexLst->currentIndex();
    if (BkInfoIndexLst->count() == 0 || index < 0)
        return;
    const std::string entry = plat::ToAnsi(BkInfoIndexLst->itemText(index));
    if (entry.find('|') == std::string::npos)
        return;
    const int32_t recNo = EntryRecNo(entry);
    if (recNo == 0)
        return;

    BkInfoView->ClearText();
    BkInfoView->SetMarkupText(std::nullopt);
    // The emptied view has no height; a new topic starts at its top.
    BkInfoTextCtrl->verticalScrollBar()->setValue(0);
    const TDbRec rec = RecordDb->RecordAt(recNo);
    if (rec.Body) {
        BkInfoView->SetMarkupText(rec.BodyText());
        BkInfoTextCtrl->setFocus(); // refused while hidden; nothing depends on it
    }
}
