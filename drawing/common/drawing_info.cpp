#include "drawing/common/drawing_info.h"

#include "platform/classlib/file.h"
#include "platform/zrio/zrio.h"

namespace {

class Hold {
public:
    explicit Hold(CRITICAL_SECTION* lock) : m_lock(lock) { EnterCriticalSection(m_lock); }
    ~Hold() { LeaveCriticalSection(m_lock); }

private:
    CRITICAL_SECTION* m_lock;
};

}  // namespace

DRAWINGINFO::DRAWINGINFO() : setCount(0), editingHours(0), editingMinutes(0), customCount(0)
{
    InitializeCriticalSection(&m_lock);
}

DRAWINGINFO::~DRAWINGINFO()
{
    DeleteCriticalSection(&m_lock);
}

void DRAWINGINFO::Reset()
{
    Hold hold(&m_lock);
    setCount = 0;
    title.Empty();
    subject.Empty();
    author.Empty();
    keywords.Empty();
    property5.Empty();
    property0.Empty();
    property6.Empty();
    editingHours = 0;
    editingMinutes = 0;
    for (CString& text : custom)
        text.Empty();
    customCount = 0;
    formatText.Empty();
}

void DRAWINGINFO::ClearCount()
{
    Hold hold(&m_lock);
    setCount = 0;
}

void DRAWINGINFO::CopyFieldsFrom(const DRAWINGINFO& other)
{
    title = other.title;
    subject = other.subject;
    author = other.author;
    keywords = other.keywords;
    property5 = other.property5;
    property0 = other.property0;
    created = other.created;
    modified = other.modified;
    property6 = other.property6;
    editingHours = other.editingHours;
    editingMinutes = other.editingMinutes;
    for (int i = 0; i < kMaxCustom; ++i)
        custom[i] = other.custom[i];
    customCount = other.customCount;
    formatText = other.formatText;
    setCount = other.setCount;
}

void DRAWINGINFO::Snapshot(DRAWINGINFO* out) const
{
    if (!out || out == this)
        return;
    Hold hold(&m_lock);
    Hold holdOut(&out->m_lock);
    out->CopyFieldsFrom(*this);
}

int DRAWINGINFO::StoreProperty(int id, const char* text, void* user)
{
    DRAWINGINFO* record = static_cast<DRAWINGINFO*>(user);
    if (!record)
        return 0;
    CString value(text ? text : "");
    ++record->setCount;
    switch (id) {
        case 0:
            record->property0 = value;
            break;
        case 1:
            record->title = value;
            break;
        case 2:
            record->subject = value;
            break;
        case 3:
            record->author = value;
            break;
        case 4:
            record->keywords = value;
            break;
        case 5:
            record->property5 = value;
            break;
        case 6:
            record->property6 = value;
            break;
        case CDrawing::kEditingTimeProperty:
            record->StoreEditingTime(text);
            break;
        case 17:
            // An eleventh custom property is counted but not kept.
            if (record->customCount < kMaxCustom)
                record->custom[record->customCount++] = value;
            break;
        default:
            if (id < 0 || id > 17)
                --record->setCount;  // 7 and 9..16 are only counted
    }
    return 0;
}

// The minutes come as decimal digits; hours beyond 16 bits are cut there.
void DRAWINGINFO::StoreEditingTime(const char* minutes)
{
    uint64_t total = 0;
    for (const char* digit = minutes; digit && *digit >= '0' && *digit <= '9'; ++digit)
        total = total < UINT64_C(0xFFFFFFFFFF) ? total * 10 + uint64_t(*digit - '0') : total;
    uint64_t hours = total / 60;
    editingHours = uint16_t(hours < 0xFFFF ? hours : 0xFFFF);
    editingMinutes = uint16_t(total % 60);
}

bool DRAWINGINFO::FillFromDrawing(CDrawing* drawing, DRAWINGINFO* record)
{
    if (!drawing || !record)
        return false;
    // The fill goes into a local record; readers see the old record or the
    // finished new one, never one in between.
    DRAWINGINFO local;
    local.created = record->created;
    local.modified = record->modified;
    drawing->enumProperties(StoreProperty, &local);
    char path[MAX_PATH] = {0};
    drawing->getFileName(path);
    if (path[0]) {
        CFileStatus status;
        if (CFile::GetStatus(path, status)) {
            local.created = status.m_ctime;
            local.modified = status.m_mtime;
        } else {
            local.created = CTime(0LL);
            local.modified = CTime(0LL);
        }
        local.setCount += 2;
    }
    local.formatText = FormatVersion(drawing->getVersion());
    Hold hold(&record->m_lock);
    record->CopyFieldsFrom(local);
    return true;
}

CString DRAWINGINFO::FormatVersion(short code)
{
    static const struct {
        short last;
        const char* text;
    } kTexts[] = {{9, "格式ACAD r2.5;"},   {10, "格式ACAD r2.6;"},  {11, "格式ACAD r9;"},
                  {13, "格式ACAD r10;"},   {16, "格式ACAD r12;"},   {19, "格式ACAD r13;"},
                  {21, "格式ACAD r14;"},   {23, "格式ACAD r2000;"}, {25, "格式ACAD r2004;"},
                  {27, "格式ACAD r2007;"}, {29, "格式ACAD r2010;"}, {31, "格式ACAD r2013;"},
                  {33, "格式ACAD r2018;"}};
    if (code >= 0)
        for (const auto& t : kTexts)
            if (code <= t.last)
                return CString(t.text);
    return CString("[未知格式]");
}
