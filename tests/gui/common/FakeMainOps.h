#pragma once

// A main window stand-in for dialog tests: holds a project and counts the operations called.

#include "gui/common/MainWindowOps.h"

#include <QStringList>
#include <QWidget>

namespace qloom::gui {

class FakeMainOps : public MainWindowOps {
public:
    Project projectData;
    QWidget window;
    int refreshes = 0;
    int helps = 0;
    QList<bool> helpButtonStates;
    QStringList reports;

    Project& project() override { return projectData; }
    QWidget* mainWidget() override { return &window; }
    void ShowMenuProperties(int32_t) override {}
    void SetEditingEnabled(bool) override {}
    void RefreshPreview() override { ++refreshes; }
    void ScrollPreviewTo(int32_t) override {}
    void SelectInPreview(int32_t) override {}
    void MarkPreviewStale() override {}
    void MarkPreviewCurrent() override {}
    void SetActiveProject(const QString&) override {}
    void SetHelpButtonEnabled(bool enabled) override { helpButtonStates << enabled; }
    void ShowHelp() override { ++helps; }
    bool Report(const Status& status) override {
        if (!status.ok)
            reports << QString::fromStdString(status.message);
        return status.ok;
    }
};

} // namespace qloom::gui
