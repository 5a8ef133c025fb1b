#include "model/ProjectSettings.h"

#include <utility>

namespace qloom {

void ProjectSettings::resetToNewProject() {
    ProjectSettings fresh;
    fresh.ProjectFolder = std::move(ProjectFolder);
    *this = std::move(fresh);
}

bool ProjectSettings::operator==(const ProjectSettings& other) const {
    return scrIN == other.scrIN && scrOUT == other.scrOUT && cDefCap == other.cDefCap &&
           cDefMenu == other.cDefMenu && fDefCap == other.fDefCap && fDefMenu == other.fDefMenu &&
           fDefCapS == other.fDefCapS && fDefMenuS == other.fDefMenuS &&
           TemplateFileName == other.TemplateFileName && ProjectFolder == other.ProjectFolder;
}

} // namespace qloom
