// The start-up trace sink. Tracing is kept in the code as the record of the
// steps, but nothing is ever written: no log file is created.
#pragma once

class CLogFile {
public:
    CLogFile();
    virtual ~CLogFile();

    void Open(const char* fileName);

private:
    int m_handle;
};

// printf-style trace; writes nothing.
void WriteLog(CLogFile* sink, const char* format, ...);
