#include "core/file_name.h"

CFileName::CFileName(const char* path) : m_path(path), m_counter(0) {}

void CFileName::SplitPath()
{
    m_parts.Split(m_path);
}

CString CFileName::GetFileName()
{
    SplitPath();
    return m_parts.name + m_parts.extension;
}

CString CFileName::ChangeExt(const char* extension)
{
    m_parts.extension = extension ? extension : "";
    return m_parts.Join();
}

void CFileName::SetFolder(const char* otherPath)
{
    PathParts other(otherPath);
    m_parts.drive = other.drive;
    m_parts.folder = other.folder;
    m_path = m_parts.Join();
}

CString CFileName::NextNumberedPath()
{
    CString number;
    number.Format("_%d", m_counter++);
    return m_parts.drive + m_parts.folder + m_parts.name + number + m_parts.extension;
}
