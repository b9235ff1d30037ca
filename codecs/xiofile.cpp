#include "codecs/xiofile.h"

bool CxIOFile::Close()
{
    return true;
}

DWORD CxIOFile::Read(void* buffer, DWORD size, DWORD count)
{
    if (!m_file || !buffer)
        return 0;
    return (DWORD)fread(buffer, size, count, m_file);
}

DWORD CxIOFile::Write(const void* buffer, DWORD size, DWORD count)
{
    if (!m_file || !buffer)
        return 0;
    return (DWORD)fwrite(buffer, size, count, m_file);
}

bool CxIOFile::Seek(int32_t offset, int origin)
{
    if (!m_file)
        return false;
    return fseek(m_file, offset, origin) == 0;
}

int32_t CxIOFile::Tell()
{
    if (!m_file)
        return 0;
    return (int32_t)ftell(m_file);
}

int32_t CxIOFile::Size()
{
    if (!m_file)
        return -1;
    long position = ftell(m_file);
    fseek(m_file, 0, SEEK_END);
    long end = ftell(m_file);
    fseek(m_file, position, SEEK_SET);
    return (int32_t)end;
}

bool CxIOFile::Flush()
{
    if (!m_file)
        return false;
    return fflush(m_file) == 0;
}

bool CxIOFile::Eof()
{
    if (!m_file)
        return true;
    return feof(m_file) != 0;
}

int32_t CxIOFile::Error()
{
    if (!m_file)
        return -1;
    return ferror(m_file);
}

bool CxIOFile::PutC(unsigned char byte)
{
    if (!m_file)
        return false;
    return fputc(byte, m_file) == byte;
}

int32_t CxIOFile::GetC()
{
    if (!m_file)
        return -1;
    return fgetc(m_file);
}
