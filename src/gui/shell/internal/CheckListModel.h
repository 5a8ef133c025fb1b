#pragma once

#include "model/AccessibilityCheck.h"
#include "model/Project.h"

#include <QAbstractListModel>
#include <cstdint>
#include <vector>

namespace qloom::gui {

// The findings of the accessibility checks as the main window's Checks list shows them, one
// line each. The lines are written only for the rows the list draws: a large project has
// thousands of findings.
class CheckListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CheckListModel(QObject* parent = nullptr);

    // Checks every menu again (a project was opened, menus were added or deleted, settings
    // changed).
    void recheckAll(const Project& project);
    // Checks one menu again and keeps the findings of the others: what typing into a field needs.
    void recheckRow(const Project& project, int32_t row);

    const std::vector<AccessibilityFinding>& findings() const { return findings_; }
    const AccessibilityFinding* findingAt(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Where the checks look for the files the menus refer to: the project folder and the
    // preview's site folder stored for it.
    static SiteFolders siteFoldersOf(const Project& project);

private:
    std::vector<AccessibilityFinding> findings_;
    SiteFolders site_;
};

} // namespace qloom::gui
