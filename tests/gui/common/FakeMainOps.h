#pragma once

// A main window stand-in for dialog tests: holds a project and counts the operations called.

#include "gui/common/MainWindowOps.h"
#include "gui/common/ProjectHistory.h"

#include <QStringList>
#include <QWidget>

namespace qloom::gui {

class FakeMainOps : public MainWindowOps {
public:
    Project projectData;
    ProjectHistory historyData{projectData};
    QWidget window;
    int refreshes = 0;
    int helps = 0;
    QList<bool> helpButtonStates;
    QStringList reports;

    Project& project() override { return projectData; }
    QWidget* mainWidget() override { return &window; }
    ProjectHistory& history() override { return historyData; }
    void showMenuProperties(int32_t) override {}
    void setEditingEnabled(bool) override {}
    void refreshPreview() override { ++refreshes; }
    void scrollPreviewTo(int32_t) override {}
    void selectInPreview(int32_t) override {}
    void markPreviewStale() override {}
    void markPreviewCurrent() override {}
    void setActiveProject(const QString&) override {}
    void setHelpButtonEnabled(bool enabled) override { helpButtonStates << enabled; }
    void showHelp() override { ++helps; }
    bool report(const Status& status) override {
        if (!status.ok)
            reports << QString::fromStdString(status.message);
        return status.ok;
    }
};

} // namespace qloom::gui
