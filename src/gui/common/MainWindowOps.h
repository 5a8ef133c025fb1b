#pragma once

// The main-window operations that other windows and controllers call. TfrmMain implements them
// by forwarding to the property editor and preview controllers; tests can implement them to
// observe calls.

#include "model/Project.h"
#include "model/Result.h"

#include <QString>
#include <cstdint>

class QWidget;

namespace qloom::gui {

class MainWindowOps {
public:
    virtual ~MainWindowOps() = default;

    virtual Project& project() = 0;
    virtual QWidget* mainWidget() = 0;

    // Property editor.
    virtual void ShowMenuProperties(int32_t row) = 0;
    virtual void SetEditingEnabled(bool enabled) = 0;
    // Preview.
    virtual void RefreshPreview() = 0;
    virtual void ScrollPreviewTo(int32_t row) = 0;
    virtual void SelectInPreview(int32_t row) = 0;
    virtual void MarkPreviewStale() = 0;
    virtual void MarkPreviewCurrent() = 0;
    // Shell.
    virtual void SetActiveProject(const QString& folder) = 0;
    virtual void SetHelpButtonEnabled(bool enabled) = 0;
    virtual void ShowHelp() = 0;
    // Shows the general error report for a failed status; returns status.ok.
    virtual bool Report(const Status& status) = 0;
};

} // namespace qloom::gui
