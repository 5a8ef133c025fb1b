#include "gui/shell/internal/CheckListModel.h"

#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"

#include <algorithm>

namespace qloom::gui {

CheckListModel::CheckListModel(QObject* parent) : QAbstractListModel(parent) {}

SiteFolders CheckListModel::siteFoldersOf(const Project& project) {
    SiteFolders site;
    site.project = project.settings.projectFolder;
    if (!site.project.empty())
        site.site =
            fromQ(UserSettings::value(UserSettings::siteFolderKey(toQ(site.project))).toString());
    return site;
}

void CheckListModel::recheckAll(const Project& project) {
    // The site folder is read once here: a row's recheck while typing must not open the store.
    site_ = siteFoldersOf(project);
    beginResetModel();
    findings_ = CheckProject(project.menus, project.settings, nullptr, &site_);
    endResetModel();
}

void CheckListModel::recheckRow(const Project& project, int32_t row) {
    // The findings stay in row order, so one row's findings are one run of the list.
    const auto byRow = [](const AccessibilityFinding& f, int32_t r) { return f.row < r; };
    const auto first = std::lower_bound(findings_.begin(), findings_.end(), row, byRow);
    auto last = first;
    while (last != findings_.end() && last->row == row)
        ++last;
    std::vector<AccessibilityFinding> fresh;
    if (site_.project != project.settings.projectFolder)
        site_ = siteFoldersOf(project);
    CheckMenu(project.menus, project.settings, row, fresh, -1, &site_);
    const int at = int(first - findings_.begin());
    const int removed = int(last - first);
    if (removed > 0) {
        beginRemoveRows(QModelIndex(), at, at + removed - 1);
        findings_.erase(first, last);
        endRemoveRows();
    }
    if (!fresh.empty()) {
        beginInsertRows(QModelIndex(), at, at + int(fresh.size()) - 1);
        findings_.insert(findings_.begin() + at, fresh.begin(), fresh.end());
        endInsertRows();
    }
}

const AccessibilityFinding* CheckListModel::findingAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() < 0 || size_t(index.row()) >= findings_.size())
        return nullptr;
    return &findings_[size_t(index.row())];
}

int CheckListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(findings_.size());
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const {
    const AccessibilityFinding* finding = findingAt(index);
    if (!finding || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return toQ(FindingText(*finding));
}

} // namespace qloom::gui
