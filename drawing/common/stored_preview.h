// The preview picture stored in a drawing file, as a CDib.
#pragma once

class CDib;

// Reads the picture through the drawing library (lppp), decodes it as a BMP
// and makes `target` from it; false when there is none or it is damaged.
bool ReadStoredPreview(const char* path, CDib* target);
