// JPEG files for thumbnails: decoded at the smallest scale the decoder
// offers (1/2, 1/4, 1/8) that still covers the size the thumbnail is drawn
// at, and turned by their EXIF orientation.
#pragma once

class CxImage;

// The size a width x height picture is drawn at in a box: scaled by the
// smaller of the two ratios, never enlarged, each side at least 1.
void FitThumbnailSize(int width, int height, int boxWidth, int boxHeight, int& drawnWidth, int& drawnHeight);

// The denominator (8, 4, 2 or 1) of the smallest decoding scale whose
// picture is still at least wanted x wanted in both directions.
int ChooseJpegScale(int width, int height, int wantedWidth, int wantedHeight);

// A new image of the JPEG file for a boxWidth x boxHeight thumbnail (the
// caller owns it), or null. fullWidth and fullHeight receive the size of the
// whole picture as it stands (turned), from which the drawn size follows.
CxImage* LoadJpegThumbnail(const char* path, int boxWidth, int boxHeight, int& fullWidth, int& fullHeight);
