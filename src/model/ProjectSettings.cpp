#include "model/ProjectSettings.h"

#include <utility>

namespace qloom {

void ProjectSettings::resetToNewProject() {
    ProjectSettings fresh;
    fresh.projectFolder = std::move(projectFolder);
    *this = std::move(fresh);
}

bool ProjectSettings::operator==(const ProjectSettings& o) const {
    return closeStep == o.closeStep && openStep == o.openStep &&
           captionTextColor == o.captionTextColor && bodyTextColor == o.bodyTextColor &&
           captionFont == o.captionFont && bodyFont == o.bodyFont &&
           captionFontSize == o.captionFontSize && bodyFontSize == o.bodyFontSize &&
           templateFileName == o.templateFileName && projectFolder == o.projectFolder &&
           smallScreenBreakpoint == o.smallScreenBreakpoint &&
           smallScreenCaption == o.smallScreenCaption && smallScreenPlace == o.smallScreenPlace;
}

} // namespace qloom
