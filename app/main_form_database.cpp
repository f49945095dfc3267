#include "app/main_form.h"

#include "picarchive/picture_archive.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "recdb/open_database.h"

#include <QComboBox>

// Data of the record database and the picture archive, read during window
// creation. Each step absorbs its own failures: a missing or damaged file
// leaves an empty index, an empty catalogue or an empty topic list.

void TMainForm::ReadPictureArchiveIndex() {
    // No archive at all is allowed: pictures are then looked up as files.
    PictureIndex = ReadPictureIndex(plat::ResolvePath(kPictureArchiveFile))
                       .value_or(std::vector<std::string>());
}

void TMainForm::OpenRecordDatabase() {
    *RecordDb = TiDbRecFile(); // the test run holds on to this object
    RecordIndex.Clear();
    std::vector<std::string> topics;
    // The intro's gauge, while the intro is open, lets pending events run
    // after each record; the window is not shown yet, so nothing reaches
    // the half-built index.
    ::OpenRecordDatabase(*RecordDb, RecordIndex, topics, LoadGauge);
    if (BkInfoIndexLst) {
        // Items are the whole entries "recno|title"; the list draws only the
        // title and the page reads the record number back from the item.
        BkInfoIndexLst->clear();
        for (const std::string& entry : topics)
            BkInfoIndexLst->addItem(plat::FromAnsi(entry));
        // Nothing is chosen until the page is first opened, which then
        // selects the first topic.
        BkInfoIndexLst->setCurrentIndex(-1);
    }
    ResetUserAndTestRun();
    LoadUserList();
}
