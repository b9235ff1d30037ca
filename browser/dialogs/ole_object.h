// COleObject: one late-bound automation object of an outside application
// (a running AutoCAD and its active document), reached by member name.
// Texts cross in the ANSI code page.
#pragma once
#include "platform/classlib/classlib.h"

class COleObject : public CObject {
public:
    COleObject() = default;
    COleObject(const COleObject&) = delete;
    COleObject& operator=(const COleObject&) = delete;

    // The running instance registered for the ProgID; false when the ProgID
    // is unknown, nothing is running or it gives no IDispatch.
    bool GetActive(const char* progId);
    bool GetDispId(const char* name, DISPID& id);
    // The property's value as a string; false when the name is unknown, the
    // call raises an automation error or the value is no string.
    bool GetStringProperty(const char* name, CString& text);
    // The property's value as an automation object, held by `object`.
    bool GetObjectProperty(const char* name, COleObject& object);
    // Calls the method with one string argument, no result wanted.
    bool CallMethod(const char* name, const char* text);

private:
    bool GetProperty(const char* name, VARIANT& value);

    COleDispatchDriver m_driver;
};
