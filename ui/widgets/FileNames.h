#pragma once
// File names between Qt's text and the project's paths. The project keeps a
// name as the bytes the file system uses (std::string, std::filesystem);
// QFile::encodeName and decodeName convert with the file system's encoding,
// so a name holding non-ASCII characters reaches the same file both ways.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

namespace terraq::ui {

inline std::string FileNameBytes(const QString& name) { return QFile::encodeName(name).toStdString(); }
inline QString FileNameText(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

}  // namespace terraq::ui
