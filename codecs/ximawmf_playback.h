// The playback of an enhanced metafile into a picture, bounded in the work
// it can ask of GDI: a damaged or hostile file must not hold the thread
// that decodes it (a thumbnail's) for long, nor leave GDI objects behind.
#pragma once
#include <windows.h>

#include <vector>

class CxMetafilePlayback {
public:
    // Playing stops after this long, or after this many records: the
    // picture is then not made.
    static const DWORD kTimeLimitMs = 2000;
    static const DWORD kMaxRecords = 1000000;
    // The widest pen and the tallest font drawn, in device pixels: wider
    // pens and taller fonts are drawn at this size.
    static const LONG kMaxPenPixels = 64;
    static const LONG kMaxFontPixels = 512;

    // A picture of width x height pixels; the clock runs from here.
    CxMetafilePlayback(LONG width, LONG height);

    // Plays the metafile into the DC's area; false when it was stopped.
    // Every object the metafile made is deleted afterwards.
    bool Play(HDC dc, HENHMETAFILE metafile, const RECT& area);

    bool TooLong() const { return m_tooLong; }

private:
    static int CALLBACK PlayRecord(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record,
                                   int count, LPARAM parameter);
    int PlayOne(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record, int count);
    bool MakesObjectAt(const ENHMETARECORD* record, HANDLETABLE* handles, int count,
                       DWORD* slot) const;
    bool PlayWithinLimits(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record, int count);
    void DeleteLeftObjects();

    LONG m_width;
    LONG m_height;
    DWORD m_start;
    DWORD m_records;
    bool m_tooLong;
    std::vector<HGDIOBJ> m_made;   // every object the metafile's records made
};
