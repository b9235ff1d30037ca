// CFileName: a file path split into drive, folder, name and extension, and
// the paths made from it (another extension, another folder, a numbered
// name). Made on the stack by its users.
#pragma once
#include "core/path_parts.h"

class CFileName
{
public:
    // Keeps the path; the parts stay empty until SplitPath.
    explicit CFileName(const char* path);
    virtual ~CFileName() = default;

    void SplitPath();
    // Splits the path and returns name + extension.
    CString GetFileName();
    // drive + folder + name + extension; the path itself is unchanged.
    // Needs the parts split before.
    CString ChangeExt(const char* extension);
    // Takes drive and folder from otherPath (whose last part counts as a
    // folder only when it ends with a backslash), keeps name and extension,
    // and makes the path from the four parts.
    void SetFolder(const char* otherPath);
    // drive + folder + name + "_" + n + extension, with n counting from 0
    // for each CFileName. Needs the parts split before.
    CString NextNumberedPath();

    const CString& GetPath() const { return m_path; }
    const CString& GetDrive() const { return m_parts.drive; }
    const CString& GetFolder() const { return m_parts.folder; }
    const CString& GetName() const { return m_parts.name; }
    const CString& GetExtension() const { return m_parts.extension; }

private:
    CString m_path;
    PathParts m_parts;
    int m_counter;
};
