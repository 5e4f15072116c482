#include "window/win32/Decoder.h"

#include <windows.h>

#include <objidl.h>
#include <propidl.h>
#include <shlwapi.h>

// GDI+ needs the COM stream and property types declared first.
#include <gdiplus.h>

#include <cstring>
#include <memory>

#include "window/Toolkit.h"

namespace window::win32 {

namespace {

struct StreamRelease {
    void operator()(IStream* stream) const { stream->Release(); }
};

void check(Gdiplus::Status status, const char* what) {
    if (status != Gdiplus::Ok) {
        throw ToolkitError(std::string("Cannot ") + what + " a built-in picture (GDI+ status " +
                           std::to_string(static_cast<int>(status)) + ")");
    }
}

// Copies premultiplied rows out of a GDI+ bitmap into a DIB section.
Bitmap copyPixels(Gdiplus::Bitmap& picture, int width, int height) {
    Bitmap bitmap(width, height);
    Gdiplus::Rect area(0, 0, width, height);
    Gdiplus::BitmapData locked{};
    check(picture.LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &locked),
          "read");
    for (int y = 0; y < height; ++y) {
        const auto* source = static_cast<const unsigned char*>(locked.Scan0) +
                             static_cast<std::ptrdiff_t>(y) * locked.Stride;
        std::memcpy(bitmap.row(y), source, static_cast<std::size_t>(width) * 4);
    }
    picture.UnlockBits(&locked);
    return bitmap;
}

}  // namespace

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    check(Gdiplus::GdiplusStartup(&token, &input, nullptr), "start the decoder for");
    m_token = token;
}

GdiplusSession::~GdiplusSession() {
    Gdiplus::GdiplusShutdown(static_cast<ULONG_PTR>(m_token));
}

Bitmap decodePng(const void* data, std::size_t size, int width, int height) {
    std::unique_ptr<IStream, StreamRelease> stream(
        SHCreateMemStream(static_cast<const BYTE*>(data), static_cast<UINT>(size)));
    if (!stream) {
        throw ToolkitError("Cannot read a built-in picture: out of memory");
    }
    Gdiplus::Bitmap source(stream.get());
    check(source.GetLastStatus(), "decode");
    const auto sourceWidth = static_cast<int>(source.GetWidth());
    const auto sourceHeight = static_cast<int>(source.GetHeight());
    if (sourceWidth == width && sourceHeight == height) {
        return copyPixels(source, width, height);
    }
    Gdiplus::Bitmap scaled(width, height, PixelFormat32bppPARGB);
    check(scaled.GetLastStatus(), "scale");
    Gdiplus::Graphics graphics(&scaled);
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    // Mirrored edges: without them the filter fades the border towards transparent.
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    check(graphics.DrawImage(&source, Gdiplus::Rect(0, 0, width, height), 0, 0, sourceWidth,
                             sourceHeight, Gdiplus::UnitPixel, &attributes),
          "scale");
    return copyPixels(scaled, width, height);
}

}  // namespace window::win32
