#include "browser/dialogs/exif_dlg.h"

#include <stdio.h>
#include <string.h>

#include "browser/dialogs/info_list_look.h"
#include "graphics/win32_file.h"
#include "resources/resource.h"

namespace {

const InfoListColumn kColumns[] = {{"类型", 140}, {"值", 280}};

// Cameras write their texts in UTF-8 or in plain ASCII; a valid UTF-8
// text is shown in the ANSI code page, anything else as it stands.
CString CameraText(const char* field, size_t capacity)
{
    CString raw(field, (int)strnlen(field, capacity));
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw, raw.GetLength(), nullptr, 0);
    if (raw.IsEmpty() || wideLength <= 0)
        return raw;
    std::vector<WCHAR> wide(wideLength);
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw, raw.GetLength(), wide.data(), wideLength);
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return raw;
    CString text;
    char* buffer = text.GetBuffer(length);
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, buffer, length, nullptr, nullptr);
    text.ReleaseBuffer(length);
    return text;
}

// A rounded count from a damaged record can be far outside int; it is
// kept inside before the conversion.
int RoundedCount(double value)
{
    const double limit = 2147483647.0;
    double rounded = value + 0.5;
    if (!(rounded > -limit))
        return -2147483647;
    if (rounded > limit)
        return 2147483647;
    return (int)rounded;
}

CString Formatted(const char* format, double value)
{
    CString text;
    text.Format(format, value);
    return text;
}

CString ExposureText(double time)
{
    CString text;
    if (time > 0.0 && time <= 0.5)
        text.Format("%.3f s (1/%d)", time, RoundedCount(1.0 / time));
    else
        text.Format("%.3f s", time);
    return text;
}

CString FocalLengthText(double focalLength, double ccdWidth)
{
    CString text;
    if (ccdWidth == 0.0)
        text.Format("%.1fmm", focalLength);
    else
        text.Format("%.1fmm  (35mm 等价的 : %dmm)", focalLength, RoundedCount(focalLength / ccdWidth * 36.0));
    return text;
}

const char* WhiteBalanceText(int value)
{
    switch (value) {
        case 1:
            return "Sunny";
        case 2:
            return "Fluorescent";
        case 3:
            return "Incandescent";
        default:
            return "Cloudy";
    }
}

const char* MeteringText(int mode)
{
    switch (mode) {
        case 2:
            return "偏重中央";
        case 3:
            return "点测光";
        case 5:
            return "矩阵测光";
        default:
            return nullptr;
    }
}

const char* ExposureProgramText(int program)
{
    switch (program) {
        case 1:
            return "手动";
        case 2:
            return "程序 (自动)";
        case 3:
            return "光圈优先";
        case 4:
            return "快门优先";
        default:
            return nullptr;
    }
}

const char* QualityText(int level)
{
    switch (level) {
        case 1:
            return "基本";
        case 2:
            return "普通";
        case 4:
            return "精细";
        default:
            return nullptr;
    }
}

const char* ProcessText(int marker)
{
    switch (marker) {
        case 192:
            return "Baseline";
        case 193:
            return "Extended sequential";
        case 194:
            return "Progressive";
        case 195:
            return "Lossless";
        case 197:
            return "Differential sequential";
        case 198:
            return "Differential progressive";
        case 199:
            return "Differential lossless";
        case 201:
            return "Extended sequential, arithmetic coding";
        case 202:
            return "Progressive, arithmetic coding";
        case 203:
            return "Lossless, arithmetic coding";
        case 205:
            return "Differential sequential, arithmetic coding";
        case 206:
            return "Differential progressive, arithmetic coding";
        case 207:
            return "Differential lossless, arithmetic coding";
        default:
            return "Unknown";
    }
}

void AddCameraRows(const CxExifRecord& record, ExifRows& rows)
{
    CString make = CameraText(record.cameraMake, sizeof(record.cameraMake));
    if (!make.IsEmpty()) {
        rows.emplace_back("相机制造", make);
        rows.emplace_back("相机型号", CameraText(record.cameraModel, sizeof(record.cameraModel)));
    }
    CString dateTime = CameraText(record.dateTime, sizeof(record.dateTime));
    if (!dateTime.IsEmpty())
        rows.emplace_back("日期/时间", dateTime);
    CString version = CameraText(record.version, sizeof(record.version));
    if (!version.IsEmpty())
        rows.emplace_back("Exif 版本", version);
}

void AddPictureRows(const CxExifRecord& record, ExifRows& rows)
{
    CString size;
    size.Format("%d x %d", record.width, record.height);
    rows.emplace_back("宽 x 高", size);
    if (record.resolutionUnit != 0 && record.xResolution != 0)
        rows.emplace_back("X 分辨率 (dpi)", Formatted("%.1f", record.xResolution / record.resolutionUnit));
    if (record.resolutionUnit != 0 && record.yResolution != 0)
        rows.emplace_back("Y 分辨率 (dpi)", Formatted("%.1f", record.yResolution / record.resolutionUnit));
    if (record.orientation > 1) {
        CString orientation;
        orientation.Format("%d", record.orientation);
        rows.emplace_back("方向", orientation);
    }
    if (!record.isColor)
        rows.emplace_back("Color/bw", "Black and white");
}

void AddExposureRows(const CxExifRecord& record, ExifRows& rows)
{
    if (record.flashUsed >= 0)
        rows.emplace_back("是否用闪光灯", record.flashUsed != 0 ? "是" : "否");
    if (record.focalLength != 0)
        rows.emplace_back("焦距", FocalLengthText(record.focalLength, record.ccdWidth));
    if (record.ccdWidth != 0)
        rows.emplace_back("CCD 宽度", Formatted("%.2fmm", record.ccdWidth));
    if (record.exposureTime != 0)
        rows.emplace_back("暴光时间", ExposureText(record.exposureTime));
    if (record.brightness != 0)
        rows.emplace_back("亮度", Formatted("%.3f", record.brightness));
    if (record.apertureFNumber != 0)
        rows.emplace_back("光圈", Formatted("f/%.1f", record.apertureFNumber));
    if (record.distance != 0)
        rows.emplace_back("拍摄距离",
                          record.distance > 0 ? Formatted("%.2f米", record.distance) : CString("无限远"));
    if (record.isoEquivalent != 0) {
        CString iso;
        iso.Format("%d", record.isoEquivalent);
        rows.emplace_back("ISO (感光度)", iso);
    }
    if (record.exposureBias != 0)
        rows.emplace_back("暴光补偿", Formatted("%.2f", record.exposureBias));
    if (record.whiteBalance != 0)
        rows.emplace_back("白平衡", WhiteBalanceText(record.whiteBalance));
    if (const char* metering = MeteringText(record.meteringMode))
        rows.emplace_back("测光模式", metering);
    if (const char* program = ExposureProgramText(record.exposureProgram))
        rows.emplace_back("暴光模式", program);
    if (const char* quality = QualityText(record.compressionLevel))
        rows.emplace_back("Jpeg 质量", quality);
    rows.emplace_back("编码方式", ProcessText(record.process));
}

}  // namespace

ExifRows MakeExifRows(const CxExifRecord& record)
{
    ExifRows rows;
    AddCameraRows(record, rows);
    AddPictureRows(record, rows);
    AddExposureRows(record, rows);
    return rows;
}

CExifDlg::CExifDlg(CWnd* parent) : CDialog(IDD_EXIF, parent) {}

bool CExifDlg::ReadExifInfo()
{
    FILE* file = OpenWin32File(m_path, "rb");
    if (file == nullptr)
        return false;
    bool found = m_jpeg.DecodeExif(file);
    fclose(file);
    return found;
}

void CExifDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_EXIF_LIST, m_list);
}

BOOL CExifDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ApplyInfoListLook(m_list, kColumns, (int)(sizeof(kColumns) / sizeof(kColumns[0])));
    for (const auto& row : MakeExifRows(m_jpeg.GetExifRecord()))
        AppendInfoRow(m_list, row.first, row.second);
    return TRUE;
}

bool ShowExifDialog(CWnd* parent, const char* path)
{
    CExifDlg dialog(parent);
    dialog.m_path = path;
    if (!dialog.ReadExifInfo())
        return false;
    dialog.DoModal();
    return true;
}
