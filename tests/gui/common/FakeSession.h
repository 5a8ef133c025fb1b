#pragma once

// A project session stand-in for the editor's tests: holds a project and its history, makes
// edits and selections the way the shell's session does (with the same signals), and counts
// what the editor asks of the shell.

#include "RecordingPrompter.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/ProjectSessionApi.h"

#include <QList>
#include <QStringList>
#include <QWidget>

namespace qloom::gui {

class FakeSession : public ProjectSessionApi {
public:
    Project projectData;
    ProjectHistory historyData{projectData};
    QWidget mainWindow;
    RecordingPrompter boxes;
    int helps = 0;
    int saves = 0;
    bool stale = false;
    QList<bool> helpButtonStates;
    QStringList reports;

    FakeSession() {
        connect(&historyData, &ProjectHistory::changed, this,
                [this](const ProjectEdit& edit) { Q_EMIT menusChanged(edit); });
    }

    const Project& project() const override { return projectData; }
    ProjectHistory& history() override { return historyData; }
    QWidget* window() const override { return const_cast<QWidget*>(&mainWindow); }
    Prompter& prompter() override { return boxes; }
    bool edit(ProjectEdit edit, bool mergeable) override {
        return historyData.record(std::move(edit), mergeable);
    }
    void select(int32_t row, SelectionSource source) override {
        if (!projectData.isRow(row))
            return;
        projectData.selected = row;
        Q_EMIT selectionChanged(row, source);
    }
    bool savePreview() override {
        ++saves;
        return true;
    }
    bool previewStale() const override { return stale; }
    void setPreviewStale(bool value) override {
        if (value && projectData.settings.projectFolder.empty())
            return;
        stale = value;
    }
    bool report(const Status& status) override {
        if (!status.ok)
            reports << QString::fromStdString(status.message);
        return status.ok;
    }
    void setHelpAvailable(bool available) override { helpButtonStates << available; }
    void showHelp() override { ++helps; }

    // What opening a project does: the editor shows it.
    void replaceProject() { Q_EMIT projectReplaced(); }
};

} // namespace qloom::gui
