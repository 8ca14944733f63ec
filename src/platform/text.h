// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <string>

// Model texts are UTF-8 std::string; widgets take QString.
namespace vitrandel::platform {

inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }

} // namespace vitrandel::platform
