#pragma once

#include <png.h>

namespace tidepool::imgctl {

// libpng's simplified-API state, released whatever way the reading or writing ends. libpng
// catches its own errors inside these calls, so no longjmp ever crosses our code.
class PngImage {
  public:
    PngImage() {
        image_.version = PNG_IMAGE_VERSION;
        image_.opaque = nullptr;
    }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    ~PngImage() { png_image_free(&image_); }

    png_image* get() { return &image_; }
    png_image* operator->() { return &image_; }

  private:
    png_image image_{};
};

} // namespace tidepool::imgctl
