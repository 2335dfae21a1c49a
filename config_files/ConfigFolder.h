// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where Save and Load start: beside the program, as on the program's home
// platform, where the operator may write there (an unpacked program); an
// installed program's folder is the system's, so those start in the
// operator's documents folder, or home where there is none.

#include <QString>

namespace kestrix {

QString ConfigFileFolder(const QString &programFolder, const QString &documentsFolder,
                         const QString &homeFolder);

// The same for this program and user.
QString ConfigFileFolder();

} // namespace kestrix
