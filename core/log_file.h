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

// printf-style trace; writes nothing. The process-wide objects trace their
// construction and destruction here too, with a null sink.
void WriteLog(CLogFile* sink, const char* format, ...);
