#pragma once

#include <QString>

#include <string>

inline QString ToQString(const std::wstring& text) {
    return QString::fromStdWString(text);
}

inline std::wstring ToWString(const QString& text) {
    return text.toStdWString();
}
