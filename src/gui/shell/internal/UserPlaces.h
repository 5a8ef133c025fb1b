#pragma once

// Where qLoom keeps what belongs to the user rather than to the program: the program's own
// folder is read-only once installed, and deleting a build must not delete anyone's projects.

#include <QString>

namespace qloom::gui {

class UserPlaces {
public:
    // "qLoom Projects" in the user's documents folder, or in the home folder when there is no
    // documents folder. Not created here.
    static QString projectsFolder();
    // Creates the projects folder when it is missing; false when it could not be made.
    static bool makeProjectsFolder(const QString& folder);
    // The folder js.log is written to, with a trailing separator, created when missing.
    static QString scriptErrorLogFolder();
};

} // namespace qloom::gui
