/* The imgctl codec plug-in: PNG decoding and JPEG, GIF and PNG encoding for Tidepool.
 *
 * The program loads this library at run time by name (imgctl.so, imgctl.dll on Windows) from its
 * own folder and works without it. Every operation returns a 32-bit value; 0 always means failure.
 *
 * A DIB is a picture owned by the plug-in and named by a 32-bit handle. Handles come from a table
 * inside the plug-in: an unknown or already deleted handle is refused with 0, never followed.
 * Every handle the caller obtains must be released with DeleteDIB.
 *
 * A "device context" is the caller's own pixel buffer, described by an ImgctlSurface. Paths are
 * 8-bit strings as the platform's file functions take them (UTF-8 here, the system code page on
 * Windows). */
#ifndef IMGCTL_H
#define IMGCTL_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(IMGCTL_BUILDING)
#define IMGCTL_API __declspec(dllexport)
#else
#define IMGCTL_API __declspec(dllimport)
#endif
#else
#define IMGCTL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The caller's pixels: 32 bits each, 0xAARRGGBB as a native integer (blue in the lowest byte),
 * rows top first, `stride` pixels from the start of one row to the start of the next. The alpha
 * byte is ignored when read and written as 0xFF. */
typedef struct ImgctlSurface {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
    int32_t stride;
} ImgctlSurface;

/* The only raster operation DIBtoDC performs: the source replaces the destination. */
#define IMGCTL_SRCCOPY 0x00CC0020u

/* The size of the record HeadDIB fills, laid out as BITMAPINFOHEADER. */
#define IMGCTL_HEADER_SIZE 40

/* Pictures larger than this on a side, or in all, are refused before anything is allocated. */
#define IMGCTL_MAX_SIDE 16384
#define IMGCTL_MAX_PIXELS (64 * 1024 * 1024)

/* Opens the PNG file at path as a new DIB and returns its handle, or 0 when the file is missing,
 * is not a whole PNG (every chunk's checksum right, IEND present), or exceeds the size limits.
 * The pixels are decoded when first wanted, by DIBtoDC straight into the caller's pixels when it
 * copies the whole picture to (0, 0), so a picture is never held twice; an operation that wants
 * them fails with 0 if the image data turns out to be damaged. Transparent parts are composited
 * over white, so the DIB is opaque. Decoding stops once the image's rows are complete and never
 * inflates text chunks. */
IMGCTL_API int32_t PNGtoDIB(const char* path);

/* Fills the IMGCTL_HEADER_SIZE bytes at header as a BITMAPINFOHEADER describing the DIB (little
 * endian: size 40 at byte 0, width at byte 4, height at byte 8, planes 1, 32 bits per pixel, no
 * compression). Non-zero on success; 0 for an unknown handle or a null header. */
IMGCTL_API int32_t HeadDIB(int32_t dib, void* header);

/* Copies the DIB's region from (srcX, srcY), width by height pixels (0 for either: to the DIB's
 * edge), onto dc with its top-left corner at (x, y), clipped to both. rop must be IMGCTL_SRCCOPY.
 * Non-zero on success; 0 for an unknown handle, a null or malformed dc, another rop, or a PNG
 * whose image data is damaged (the dc may then hold part of the picture). */
IMGCTL_API int32_t DIBtoDC(const ImgctlSurface* dc, int32_t x, int32_t y, int32_t width,
                           int32_t height, int32_t dib, int32_t srcX, int32_t srcY, uint32_t rop);

/* Copies the region of dc at (x, y), width by height pixels (0 for either: to the dc's edge), into
 * a new DIB and returns its handle; 0 for a null or malformed dc or an empty region. */
IMGCTL_API int32_t DCtoDIB(const ImgctlSurface* dc, int32_t x, int32_t y, int32_t width,
                           int32_t height);

/* Write the DIB to path as a complete file, replacing what is there. Non-zero once the whole file
 * is written and closed; on failure 0, and no partly written file is left at path.
 * JPEG: quality 1 to 100 (the program asks for 100), full-resolution colour.
 * GIF: one frame; an exact palette when the picture has at most 256 colours, otherwise a
 * median-cut palette of 256.
 * flags must be 0. */
IMGCTL_API int32_t DIBtoJPG(const char* path, int32_t dib, int32_t quality, int32_t flags);
IMGCTL_API int32_t DIBtoGIF(const char* path, int32_t dib, int32_t flags);
IMGCTL_API int32_t DIBtoPNG(const char* path, int32_t dib, int32_t flags);

/* Releases the DIB. Non-zero on success; 0 for an unknown or already deleted handle. */
IMGCTL_API int32_t DeleteDIB(int32_t dib);

/* The operations' types, for callers that bind them by name at run time. */
typedef int32_t (*ImgctlPNGtoDIB)(const char*);
typedef int32_t (*ImgctlHeadDIB)(int32_t, void*);
typedef int32_t (*ImgctlDIBtoDC)(const ImgctlSurface*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, int32_t, uint32_t);
typedef int32_t (*ImgctlDCtoDIB)(const ImgctlSurface*, int32_t, int32_t, int32_t, int32_t);
typedef int32_t (*ImgctlDIBtoJPG)(const char*, int32_t, int32_t, int32_t);
typedef int32_t (*ImgctlDIBtoGIF)(const char*, int32_t, int32_t);
typedef int32_t (*ImgctlDIBtoPNG)(const char*, int32_t, int32_t);
typedef int32_t (*ImgctlDeleteDIB)(int32_t);

#ifdef __cplusplus
}
#endif

#endif
