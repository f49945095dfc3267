#include "transfer/veldux_api.h"

#include "transfer/local_files.h"
#include "transfer/transfer_dialog.h"

#include <QApplication>
#include <QPointer>

namespace vdx {

namespace {

QPointer<TMainForm>& Dialog() {
    static QPointer<TMainForm> dialog;
    return dialog;
}

// A close asked for while a transfer ran; done once it has unwound, since
// the dialog's own code is still on the stack until then.
bool g_closePending = false;

void FinishPendingClose() {
    TMainForm* form = Dialog();
    if (g_closePending && form && !form->Running()) {
        g_closePending = false;
        Dialog().clear();
        delete form;
    }
}

} // namespace

bool OpenDialog() {
    try {
        if (Dialog())
            return true;
        // Widgets need the caller's application object.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return false;
        auto* form = new TMainForm;
        form->show();
        if (!form->isVisible()) {
            // A dialog the caller will not close must not outlive the library.
            delete form;
            return false;
        }
        Dialog() = form;
        g_closePending = false;
        return true;
    } catch (...) {
        return false;
    }
}

bool CloseDialog() {
    try {
        TMainForm* form = Dialog();
        if (!form)
            return true;
        if (form->Running()) {
            form->CancelBtnClick();
            form->hide();
            g_closePending = true;
            return false;
        }
        Dialog().clear();
        delete form;
        return true;
    } catch (...) {
        return !Dialog();
    }
}

int32_t RunGetFile(const char* baseUrl, const char* fileName, const char* destPath) {
    try {
        TMainForm* form = Dialog();
        if (!form || !baseUrl || !fileName || !destPath)
            return kInvalidRequest;
        const int32_t result = form->GetFile(baseUrl, fileName, NativePath(destPath));
        FinishPendingClose();
        return result;
    } catch (...) {
        return kInvalidRequest;
    }
}

int32_t RunPostFile(const char* url, const char* fileName) {
    try {
        TMainForm* form = Dialog();
        if (!form || !url || !fileName)
            return kInvalidRequest;
        const int32_t result = form->PostFile(url, NativePath(fileName));
        FinishPendingClose();
        return result;
    } catch (...) {
        return kInvalidRequest;
    }
}

} // namespace vdx
