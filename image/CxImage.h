// The image library's one image class: a device-independent bitmap in memory (a
// packed DIB block, rows bottom-up) with its settings, an optional alpha plane, an
// optional selection mask and optional frames. Coordinates count y from the bottom
// row unless a function says otherwise. Failures return false, 0 or null and leave a
// text in the last error. Decoding and encoding throw nothing: memory that runs out in a
// codec is a failed call with "Can't allocate memory". Functions that need working memory
// beside the image's own blocks (building from rows, colour depth, the alpha palette
// split, polygon selections, shrinking, drawing) let std::bad_alloc through when it cannot
// be had; the exchange with Windows bitmaps says what it throws.
#pragma once

#include "image/DibTypes.h"
#include "image/FloatRect.h"
#include "image/ImageFormat.h"
#include "image/ImageInfoBlock.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ImageStream;

// Win32 handle types, declared the way the system headers declare them, so that the
// few Windows-only members can be named here without including windows.h.
struct HRSRC__;
struct HINSTANCE__;
struct HRGN__;
struct tagRECT;
struct HDC__;
struct HBITMAP__;
struct HPALETTE__;
struct HICON__;
struct TextSettings;

// Ceiling on (width * height * bpp) >> 8 for one image. It does not stop a small
// file from claiming gigabytes: the decoders bound that by what their data can fill.
#ifndef CXIMAGE_MAX_MEMORY
#define CXIMAGE_MAX_MEMORY 256000000
#endif

// Overflow methods: what a position outside the image gives when sampling.
enum ImageOverflow : int {
    kOverflowColor = 1,
    kOverflowBackground = 2,
    kOverflowTransparent = 3,
    kOverflowWrap = 4,
    kOverflowRepeat = 5,
    kOverflowMirror = 6,
};

// Interpolation methods for sampling at real-valued positions.
enum ImageInterpolation : int {
    kInterpolationNearest = 1,
    kInterpolationBilinear = 2,
    kInterpolationBSpline = 3,
    kInterpolationCubic = 4,
    kInterpolationGeneralisedCubic = 5,
    kInterpolationLanczos = 6,
    kInterpolationBox = 7,
    kInterpolationHermite = 8,
    kInterpolationHamming = 9,
    kInterpolationSinc = 10,
    kInterpolationBlackman = 11,
    kInterpolationBessel = 12,
    kInterpolationGaussian = 13,
    kInterpolationQuadratic = 14,
    kInterpolationMitchell = 15,
    kInterpolationCatmullRom = 16,
};

// What a GIF decode reports beside the pixels and an encode writes: the frame's
// disposal method, the animation's loop count and the file's comment.
struct GifState {
    int disposal = 0;
    int loops = 0;
    std::string comment;  // at most 255 characters
};

// A point of a selection polygon; x = -1 separates polygons.
struct ImagePoint {
    std::int32_t x;
    std::int32_t y;
};

class CxImage {
public:
    explicit CxImage(DWORD format = kImageFormatNone);
    CxImage(DWORD width, DWORD height, DWORD bpp, DWORD format = kImageFormatNone);
    CxImage(const CxImage& source, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    CxImage(const char* fileName, DWORD format);
    CxImage(std::FILE* file, DWORD format);
    CxImage(ImageStream* stream, DWORD format);
    CxImage(const BYTE* buffer, DWORD size, DWORD format);
    CxImage& operator=(const CxImage& source);
    virtual ~CxImage();

    // Storage and lifecycle.
    bool Destroy();
    // Returns the new DIB block (owned by the image) or null.
    void* Create(DWORD width, DWORD height, DWORD bpp, DWORD format = kImageFormatNone);
    bool CopyFrom(const CxImage& source,
                  bool copyPixels = true,
                  bool copySelection = true,
                  bool copyAlpha = true);
    void CopySettings(const CxImage& source);
    bool TakeOver(CxImage& source);
    // This image becomes a view of source, which must outlive it.
    void AttachView(CxImage* source);
    bool CreateFromBuffer(const BYTE* pixels,
                          DWORD width,
                          DWORD height,
                          DWORD bpp,
                          DWORD bytesPerLine,
                          bool flip);
    bool CreateFromRows(const BYTE* const* rows,
                        DWORD width,
                        DWORD height,
                        DWORD bpp,
                        DWORD bytesPerLine,
                        bool flip);
    // source may be the image's own pixel memory (the expansion runs backwards).
    void UnpackBitfields(const BYTE* source, DWORD redMask, DWORD greenMask, DWORD blueMask, DWORD bpp);
    std::size_t DibSize() const;

    const void* GetDib() const { return m_dib; }

    // Pixel access.
    BYTE* RowPointer(long row) const;
    bool ContainsPoint(long x, long y) const;
    void FillBytes(BYTE value);
    BYTE GetPixelIndex(long x, long y) const;
    BYTE GetPixelIndexUnchecked(long x, long y) const;
    void SetPixelIndex(long x, long y, BYTE index);
    RgbQuad GetPixelColor(long x, long y, bool withAlpha = true) const;
    RgbQuad GetPixelColorUnchecked(long x, long y) const;
    void SetPixelColor(long x, long y, RgbQuad color, bool withAlpha = false);
    void SetPixelColor(long x, long y, ImageColorref color);
    BYTE GetPixelGray(long x, long y) const;
    void BlendPixelColor(long x, long y, RgbQuad color, float opacity, bool withAlpha = false);
    void DrawLine(int x1, int x2, int y1, int y2, RgbQuad color, bool withAlpha = false);
    void DrawLine(int x1, int x2, int y1, int y2, ImageColorref color);
    void SwapRedBlue(BYTE* row, std::size_t length) const;

    // Palette.
    RgbQuad* GetPalette() const;
    RgbQuad GetPaletteColor(BYTE index) const;
    bool GetPaletteRgb(BYTE index, BYTE* red, BYTE* green, BYTE* blue) const;
    void SetPaletteColor(BYTE index, BYTE red, BYTE green, BYTE blue, BYTE alpha = 0);
    void SetPaletteColor(BYTE index, ImageColorref color);
    void SetPaletteEntry(BYTE index, RgbQuad entry);
    void SetPaletteFromChannels(DWORD count, const BYTE* reds, const BYTE* greens, const BYTE* blues);
    void SetPaletteFromTriples(const BYTE* triples, DWORD count);
    void SetPalette(const RgbQuad* entries, DWORD count = 256);
    void SetGrayPalette();
    void BlendPalette(ImageColorref color, long percent);
    bool IsGrayScale() const;
    void SwapIndex(BYTE a, BYTE b);
    bool SamePalette(const CxImage& other, bool compareAlpha = true) const;
    void SetColorsImportant(DWORD count);
    BYTE GetNearestIndex(RgbQuad color);
    void SetStdPalette();

    // Settings.
    DWORD GetWidth() const { return static_cast<DWORD>(m_header.biWidth); }

    DWORD GetHeight() const { return static_cast<DWORD>(m_header.biHeight); }

    DWORD GetEffWidth() const { return m_info.effectiveWidth; }

    WORD GetBpp() const { return m_header.biBitCount; }

    DWORD GetNumColors() const { return m_header.biClrUsed; }

    DWORD GetPaletteSize() const { return m_header.biClrUsed * sizeof(RgbQuad); }

    DWORD GetType() const { return m_info.format; }

    const char* GetLastError() const { return m_info.lastError; }

    long GetProgress() const { return m_info.progress; }

    void SetProgress(long progress) { m_info.progress = progress; }

    long GetEscape() const { return m_info.escape; }

    void SetEscape(long escape) { m_info.escape = escape; }

    BYTE GetQuality() const { return m_info.quality; }

    void SetQuality(BYTE quality) { m_info.quality = quality; }

    BYTE GetSpareOption() const { return m_info.spareOption; }

    void SetSpareOption(BYTE value) { m_info.spareOption = value; }

    long GetFrame() const { return m_info.frameToDecode; }

    void SetFrame(long frame) { m_info.frameToDecode = frame; }

    long GetNumFrames() const { return m_info.frameCount; }

    long GetFrameDelay() const { return m_info.frameDelay; }

    void SetFrameDelay(long delay) { m_info.frameDelay = delay; }

    int GetDisposal() const { return m_gif.disposal; }

    void SetDisposal(int disposal) { m_gif.disposal = disposal; }

    int GetLoops() const { return m_gif.loops; }

    void SetLoops(int loops) { m_gif.loops = loops; }

    const std::string& GetComment() const { return m_gif.comment; }

    void SetComment(const std::string& comment) { m_gif.comment = comment.substr(0, 255); }

    void GetOffset(long* x, long* y) const;
    void SetOffset(long x, long y);

    BYTE AlphaGetMax() const { return m_info.alphaMax; }

    void AlphaSetMax(BYTE value) { m_info.alphaMax = value; }

    bool AlphaPaletteIsEnabled() const { return m_info.paletteAlphaEnabled != 0; }

    void AlphaPaletteEnable(bool enable = true) { m_info.paletteAlphaEnabled = enable ? 1 : 0; }

    bool IsEnabled() const { return m_info.enabled != 0; }

    void Enable(bool enable = true) { m_info.enabled = enable ? 1 : 0; }

    DWORD GetSpareOptionWord() const { return static_cast<DWORD>(m_info.spareOptionWord); }

    void SetSpareOptionWord(DWORD value, bool lowWordOnly = false);

    long GetTransIndex() const { return m_info.transparentIndex; }

    void SetTransIndex(long index) { m_info.transparentIndex = index; }

    bool IsTransparent() const { return m_info.transparentIndex >= 0; }

    RgbQuad GetTransColor() const;
    void SetTransColor(RgbQuad color);

    bool IsValid() const { return m_dib != nullptr; }

    bool IsIndexed() const { return m_header.biClrUsed != 0; }

    BYTE GetColorType() const;

    long GetXDPI() const { return m_info.xDpi; }

    long GetYDPI() const { return m_info.yDpi; }

    void SetXDPI(long dpi);
    void SetYDPI(long dpi);
    DWORD GetCodecOption(DWORD format = kImageFormatNone) const;
    bool SetCodecOption(DWORD option, DWORD format = kImageFormatNone);

    DWORD GetClrImportant() const { return m_header.biClrImportant; }

    static const char* GetVersion();
    static float GetVersionNumber();

    long GetFrameArrayLength() const { return m_info.frameArrayLength; }

    CxImage* GetFrame(long index) const;

    // Decoding and encoding.
    bool DecodeImage(ImageStream* stream, DWORD format);
    bool LoadFile(const char* fileName, DWORD format = kImageFormatNone);
    bool DecodeFile(std::FILE* file, DWORD format);
    bool DecodeMemory(const BYTE* buffer, DWORD size, DWORD format);
    // resource comes from FindResource(module, id, "Image"); a null module is the program.
    bool LoadImageResource(HRSRC__* resource, DWORD format, HINSTANCE__* module = nullptr);
    bool EncodeImage(ImageStream* stream, DWORD format);
    bool SaveFile(const char* fileName, DWORD format);
    bool EncodeFile(std::FILE* file, DWORD format);
    // *buffer must be null; on success it receives a block the caller frees with free().
    bool EncodeMemory(BYTE** buffer, long* size, DWORD format);
    bool EncodeFrames(ImageStream* stream, CxImage** images, int count, DWORD format);
    bool EncodeFrames(std::FILE* file, CxImage** images, int count, DWORD format);
    bool EncodeRgba(ImageStream* stream);
    bool EncodeRgbaMemory(BYTE** buffer, long* size);
    bool EncodeCheck(ImageStream* stream);

    // Sampling with overflow and interpolation.
    void ApplyOverflow(long& x, long& y, int overflowMethod) const;
    void ApplyOverflow(float& x, float& y, int overflowMethod) const;
    // replacement may be null (white with alpha 0).
    RgbQuad GetPixelColorOrOverflow(long x, long y, int overflowMethod, const RgbQuad* replacement) const;
    RgbQuad InterpolatePixel(float x,
                             float y,
                             int method,
                             int overflowMethod,
                             const RgbQuad* replacement) const;
    RgbQuad InterpolateArea(float x,
                            float y,
                            float width,
                            float height,
                            int method,
                            int overflowMethod,
                            const RgbQuad* replacement) const;
    static void AccumulateWeighted(RgbQuad color,
                                   float weight,
                                   float& red,
                                   float& green,
                                   float& blue,
                                   float& alpha);
    static float KernelValue(int method, float t);

    // Resampling and geometric transforms; destination null means this image.
    bool ResampleImage(long newWidth,
                       long newHeight,
                       int method,
                       int overflowMethod,
                       CxImage* destination,
                       bool noAveraging);
    bool ResampleSimple(long newWidth, long newHeight, int mode, CxImage* destination);
    bool QIShrink(long newWidth, long newHeight, CxImage* destination);
    bool Crop(long left, long top, long right, long bottom, CxImage* destination = nullptr);
    bool Crop(const tagRECT& rect, CxImage* destination = nullptr);
    bool CropRotated(long left,
                     long top,
                     long width,
                     long height,
                     float angle,
                     CxImage* destination = nullptr);
    bool Expand(long left, long top, long right, long bottom, RgbQuad canvas, CxImage* destination = nullptr);
    bool ExpandTo(long newWidth, long newHeight, RgbQuad canvas, CxImage* destination = nullptr);
    bool FitInto(long newWidth, long newHeight, RgbQuad canvas, CxImage* destination = nullptr);
    bool Flip();
    bool Mirror();
    bool RotateLeft(CxImage* destination = nullptr);
    bool RotateRight(CxImage* destination = nullptr);
    bool Rotate180(CxImage* destination = nullptr);
    bool RotateAngle(float angle, CxImage* destination = nullptr);
    bool RotateAngleInterpolated(float angle,
                                 CxImage* destination,
                                 int method,
                                 int overflowMethod,
                                 const RgbQuad* replacement,
                                 bool optimiseRightAngles,
                                 bool keepSize);
    bool Skew(float xGain, float yGain, long xPivot, long yPivot, bool interpolate);
    bool CircleTransform(int type, long radius, float coefficient);

    // Colour depth.
    bool GrayScale();
    bool Negative();
    bool RaiseDepth(long bpp);
    bool ReduceDepth(long bpp, bool errorDiffusion, const RgbQuad* palette, DWORD colorsImportant);
    bool DitherToMono(long method);

    // Alpha plane.
    bool AlphaCreate();
    void AlphaDelete();

    bool AlphaIsValid() const { return m_alpha != nullptr; }

    void AlphaClear();
    void AlphaFill(BYTE level);
    void AlphaInvert();
    bool AlphaFlip();
    bool AlphaMirror();
    bool AlphaCopy(const CxImage& source);
    bool AlphaFromGray(const CxImage& gray);
    void AlphaSet(long x, long y, BYTE level);
    BYTE AlphaGet(long x, long y) const;

    BYTE AlphaGetUnchecked(long x, long y) const { return m_alpha[x + y * static_cast<long>(GetWidth())]; }

    BYTE* AlphaRowPointer(long x, long y) const;
    bool AlphaSplit(CxImage* destination) const;
    void AlphaPaletteClear();
    bool AlphaPaletteIsValid() const;
    bool AlphaPaletteSplit(CxImage* destination) const;
    void FlattenAlpha();

    // Selection.
    bool SelectionCreate();
    void SelectionDelete();

    bool SelectionIsValid() const { return m_selection != nullptr; }

    void GetSelectionBox(SelectionBox& box) const { box = m_info.selectionBox; }

    bool SelectionClear();
    bool SelectionIsInside(long x, long y) const;
    bool SelectionAddRect(long left, long top, long right, long bottom);
    bool SelectionAddEllipse(long left, long top, long right, long bottom);
    bool SelectionAddPolygon(const ImagePoint* points, long count);
    bool SelectionAddColor(RgbQuad color);
    bool SelectionAddPixel(long x, long y);
    bool SelectionInvert();
    bool SelectionCopy(const CxImage& source);
    bool SelectionSplit(CxImage* destination) const;
    bool SelectionToRegion(HRGN__** region) const;

    // Drawing into a Windows device context. Each returns 1 when it drew (or had nothing
    // visible to draw) and 0 when it refused: empty image, null DC, zero size, disabled
    // image. A negative width or height means the image's own. DrawImage blends the
    // alpha plane and leaves transparent pixels alone; the clip rectangle, when given,
    // limits drawing and the DC's clip region is restored afterwards.
    long DrawImage(HDC__* dc,
                   long x,
                   long y,
                   long width = -1,
                   long height = -1,
                   const tagRECT* clip = nullptr,
                   bool smooth = false);
    long DrawImage(HDC__* dc, const tagRECT& rect, const tagRECT* clip = nullptr, bool smooth = false);
    long StretchImage(HDC__* dc, long x, long y, long width, long height);
    long StretchImage(HDC__* dc, const tagRECT& rect);
    long StretchRop(HDC__* dc, long x, long y, long width, long height, DWORD rop);
    long StretchRop(HDC__* dc, const tagRECT& rect, DWORD rop);
    long TileImage(HDC__* dc, const tagRECT* rect);
    // y is the image row, counted from the top, of the text's bottom line.
    long StampText(HDC__* dc,
                   long x,
                   long y,
                   const char* text,
                   ImageColorref color,
                   const char* fontName,
                   long fontHeight,
                   long weight,
                   BYTE italic,
                   BYTE underline,
                   bool withAlpha);
    // Corrects out-of-range settings in place; -1 for an empty image. A null DC is the screen's.
    long StampTextBox(HDC__* dc, long x, long y, TextSettings* settings, bool withAlpha);
    static void InitTextSettings(TextSettings* settings);

    // Exchange with Windows bitmap objects.
    // A movable global memory block holding the DIB block; the caller frees it (GlobalFree).
    void* CopyToHandle() const;
    // Reads a global memory block holding a DIB. Throws ImageHandleError for compressions
    // it cannot read; returns false for an unreadable block.
    bool CreateFromHandle(void* handle);
    // A bitmap the caller deletes; a DC gives a device-dependent bitmap, none a DIB section.
    HBITMAP__* MakeBitmap(HDC__* dc = nullptr) const;
    bool CreateFromBitmap(HBITMAP__* bitmap, HPALETTE__* palette = nullptr);
    // The icon's mask becomes the alpha plane (transparent area alpha 0).
    bool CreateFromIcon(HICON__* icon);

protected:
    // Decode or encode through the codec class of one format (see CxImageIo.cpp).
    template <class Codec>
    bool DecodeWith(ImageStream* stream);
    template <class Codec>
    bool EncodeWith(ImageStream* stream);
    // Runs one call of codec; memory that fails to allocate inside it fails the call,
    // never throws. On failure the codec's reason becomes this image's.
    template <class Call>
    bool CallCodec(CxImage& codec, Call call);
    // Encodes into a new block handed to the caller in *buffer, which must be null.
    template <class Encode>
    bool EncodeToMemory(BYTE** buffer, long* size, Encode encode);
    void SetLastError(const char* text);
    void CopyLastError(const CxImage& other);
    // Whether Create refuses the size for CXIMAGE_MAX_MEMORY.
    static bool ExceedsMemoryLimit(DWORD width, DWORD height, DWORD bpp);
    // Builds an empty result image with this image's settings, size and palette.
    bool PrepareResult(CxImage& result, DWORD width, DWORD height, DWORD bpp) const;
    // PrepareResult at this image's depth, with an alpha plane when this image has one;
    // a failed build leaves its reason in this image.
    bool PrepareSameDepth(CxImage& result, long width, long height);
    // Moves result into destination (or this image when null).
    bool FinishResult(CxImage& result, CxImage* destination);
    void ReportProgress(long done, long total);
    // Reports progress; true when the caller has asked the work to stop.
    bool ProgressStops(long done, long total);
    // The selection's box, or the whole image when nothing is selected.
    SelectionBox SelectedOrWholeBox() const;
    void SetDpi(long dpi, std::int32_t& infoDpi, std::int32_t DibHeader::*pelsPerMeter);
    void SetEmptySelectionBox();
    void WidenSelectionBox(long left, long top, long right, long bottom);

    void ClearNearestCache() { m_info.nearestValid = 0; }

    RgbQuad ReplacementOrWhite(const RgbQuad* replacement) const;
    RgbQuad OverflowColor(int overflowMethod, const RgbQuad* replacement) const;
    std::optional<RgbQuad> OverflowSample(float& x,
                                          float& y,
                                          long before,
                                          long after,
                                          int overflowMethod,
                                          const RgbQuad* replacement) const;
    RgbQuad InterpolateBilinear(float x, float y, int overflowMethod, const RgbQuad* replacement) const;
    RgbQuad InterpolateKernel(float x,
                              float y,
                              int method,
                              int overflowMethod,
                              const RgbQuad* replacement) const;
    bool CopiesWhenSameSize(long newWidth, long newHeight, CxImage* destination) const;
    bool ResampleNearest(CxImage& result, float xScale, float yScale);
    bool ResampleBicubic(CxImage& result, float xScale, float yScale);
    bool ResampleAreaAverage(CxImage& result, float xScale, float yScale);
    bool ResampleBilinear(CxImage& result, float xScale, float yScale);
    bool RotateQuarter(bool left, CxImage* destination);
    RgbQuad SkewSample(float sourceX, float sourceY, BYTE* alpha) const;
    void CopyPixelFrom(const CxImage& source, long sourceX, long sourceY, long x, long y);

    DibHeader m_header;
    ImageInfoBlock m_info;
    BYTE* m_dib;        // owned unless this image is a view
    BYTE* m_selection;  // owned unless this image is a view; null = everything selected
    BYTE* m_alpha;      // owned unless this image is a view; null = opaque
    std::vector<std::unique_ptr<CxImage>> m_frames;
    GifState m_gif;
};

// Swaps the first and third byte of a colour: the library's blue-green-red order to a
// Windows COLORREF and back.
DWORD RgbToColorref(DWORD color);
DWORD ColorrefToRgb(DWORD color);
RgbQuad ColorrefToRgbQuad(ImageColorref color);
// The grey level a colour shows to the eye, 0-255; alpha plays no part.
BYTE Luminance(RgbQuad color);
// Luminance of a minus luminance of b, on 3-byte blue-green-red values.
long LuminanceDifference(const BYTE* a, const BYTE* b);
// A file's pixels per metre as dots per inch, rounded to the nearest.
long DpiFromPelsPerMetre(double pelsPerMetre);
