/* Gives a Wine prefix a PostScript printer on port FILE: for the printing
 * tests: the built-in PostScript driver with a small generic A4 PPD.
 * Usage: add_printer.exe NAME. Does nothing when the printer exists. */
#include <windows.h>
#include <winspool.h>
#include <stdio.h>
#include <string.h>

static const char kDriverName[] = "Wine PostScript Driver";
static const char kPpdName[] = "harbeck_generic.ppd";

/* 600 dpi, colour, A4 with an imageable area a quarter inch in from every edge. */
static const char kPpd[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"HARBECK.PPD\"\n"
    "*Manufacturer: \"Harbeck\"\n"
    "*Product: \"(Harbeck Test Printer)\"\n"
    "*ModelName: \"Harbeck Test Printer\"\n"
    "*ShortNickName: \"Harbeck Test Printer\"\n"
    "*NickName: \"Harbeck Test Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: True\n"
    "*DefaultColorSpace: RGB\n"
    "*FileSystem: False\n"
    "*Throughput: \"1\"\n"
    "*LandscapeOrientation: Plus90\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 600dpi\n"
    "*OpenUI *PageSize: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageSize\n"
    "*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n"
    "*OpenUI *PageRegion: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageRegion\n"
    "*DefaultPageRegion: A4\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageRegion\n"
    "*DefaultImageableArea: A4\n"
    "*ImageableArea A4/A4: \"18 18 577 824\"\n"
    "*DefaultPaperDimension: A4\n"
    "*PaperDimension A4/A4: \"595 842\"\n";

static int PrinterExists(const char* name)
{
    HANDLE printer = NULL;
    if (!OpenPrinterA((LPSTR)name, &printer, NULL))
        return 0;
    ClosePrinter(printer);
    return 1;
}

/* Writes the PPD into the driver folder's version-3 folder (AddPrinterDriverEx does not copy it). */
static int WritePpd(char* path, DWORD size)
{
    char folder[MAX_PATH];
    DWORD needed = 0;
    HANDLE file;
    DWORD written = 0;
    if (!GetPrinterDriverDirectoryA(NULL, NULL, 1, (LPBYTE)folder, sizeof(folder), &needed))
        return 0;
    strcat(folder, "\\3");
    CreateDirectoryA(folder, NULL);
    if (snprintf(path, size, "%s\\%s", folder, kPpdName) >= (int)size)
        return 0;
    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    WriteFile(file, kPpd, (DWORD)strlen(kPpd), &written, NULL);
    CloseHandle(file);
    return written == strlen(kPpd);
}

int main(int argc, char** argv)
{
    char ppd[MAX_PATH];
    DRIVER_INFO_3A driver;
    PRINTER_INFO_2A info;
    HANDLE printer;
    if (argc < 2) {
        fprintf(stderr, "usage: add_printer NAME\n");
        return 2;
    }
    if (PrinterExists(argv[1]))
        return 0;
    if (!WritePpd(ppd, sizeof(ppd))) {
        fprintf(stderr, "add_printer: cannot write the PPD\n");
        return 1;
    }
    memset(&driver, 0, sizeof(driver));
    driver.cVersion = 3;
    driver.pName = (LPSTR)kDriverName;
    driver.pDriverPath = (LPSTR) "wineps.drv";
    driver.pDataFile = ppd;
    driver.pConfigFile = (LPSTR) "wineps.drv";
    driver.pDefaultDataType = (LPSTR) "RAW";
    if (!AddPrinterDriverExA(NULL, 3, (LPBYTE)&driver, APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        fprintf(stderr, "add_printer: AddPrinterDriverEx failed (%u)\n", (unsigned)GetLastError());
        return 1;
    }
    memset(&info, 0, sizeof(info));
    info.pPrinterName = argv[1];
    info.pPortName = (LPSTR) "FILE:";
    info.pDriverName = (LPSTR)kDriverName;
    info.pPrintProcessor = (LPSTR) "WinPrint";
    info.pDatatype = (LPSTR) "RAW";
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    printer = AddPrinterA(NULL, 2, (LPBYTE)&info);
    if (printer == NULL) {
        fprintf(stderr, "add_printer: AddPrinter failed (%u)\n", (unsigned)GetLastError());
        return 1;
    }
    ClosePrinter(printer);
    return 0;
}
