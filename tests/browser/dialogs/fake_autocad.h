// A stand-in for a running AutoCAD: an automation server of this test
// program registered for "AutoCAD.Application" (the ProgID's CLSID under
// HKEY_CLASSES_ROOT and the running object in the running object table).
// Its application has "ActiveDocument"; the document has "FullName",
// "Name" and "SendCommand", which records every command text.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace dialogtest {

class FakeAutoCAD {
public:
    FakeAutoCAD();
    ~FakeAutoCAD();
    FakeAutoCAD(const FakeAutoCAD&) = delete;
    FakeAutoCAD& operator=(const FakeAutoCAD&) = delete;

    // Registers the ProgID only, or the ProgID and the running object.
    bool RegisterProgId();
    bool Start();

    std::string fullName = "D:\\plans\\site.dwg";  // ANSI
    std::string name = "site.dwg";
    bool hasDocument = true;
    // SendCommand raises an automation error from this call on (0-based).
    size_t failFromCommand = (size_t)-1;
    std::vector<std::string> commands;  // ANSI, as sent

private:
    class Member;
    IDispatch* m_application;
    DWORD m_registration;
    bool m_progIdRegistered;
};

}  // namespace dialogtest
