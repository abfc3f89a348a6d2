#pragma once

#include <QString>
#include <string>

#include "core/text.h"

namespace quill::ui {

// The windows hold QString, the project's settings std::string (UTF-8).
inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// Without spaces at either end; only the space counts, as everywhere in the settings.
inline std::string TrimmedText(const QString& text) { return core::Trim(text.toStdString()); }
inline QString Trimmed(const QString& text) { return Q(TrimmedText(text)); }
inline QString Trimmed(const std::string& text) { return Q(core::Trim(text)); }

}  // namespace quill::ui
