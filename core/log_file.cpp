#include "core/log_file.h"

CLogFile::CLogFile()
    : m_handle(0)
{
}

CLogFile::~CLogFile()
{
}

void CLogFile::Open(const char* fileName)
{
}
