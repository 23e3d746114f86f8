// Pictures: ".bmp" files from disk and off-screen pictures. CBitmap keeps plain RGB bytes;
// CGDIBitmap keeps a platform picture with its own drawing context, which is what the canvas
// copies from. Pictures are always copied opaque: no transparent colour, no mask.
#pragma once

#include <cstdint>
#include <span>

#include "graphics/Geometry.h"
#include "platform/draw/DrawContext.h"
#include "platform/draw/Surface.h"
#include "storage/Stream.h"

// Width and Height (the CSize) are the picture's size in pixels.
class CBitmap : public CSize {
 public:
  CBitmap() = default;
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  // The file's pixels as red, green, blue bytes, rows from the top. False, with nothing
  // changed, when the file gives no picture.
  virtual CBool LoadFromFile(CStr path);

  CMemory Pixels;
};

class CGDIBitmap : public CBitmap {
 public:
  CGDIBitmap();

  // Always true: a file that cannot be loaded leaves an empty 0 x 0 picture.
  CBool LoadFromFile(CStr path) override;
  // A w x h picture (each rounded half up) from 0x00RRGGBB pixels in row order; pixels the
  // array does not reach are black.
  void Create(const CFloat& w, const CFloat& h, std::span<const std::uint32_t> bits);
  // A new black w x h picture (each rounded half up); Width and Height keep w and h as given.
  void SetSize(const CFloat& w, const CFloat& h);

  bool HasPicture() const { return Handle; }
  const platform::Surface& Picture() const { return Image; }

  platform::DrawContext DC;  // draws on, and copies from, the picture

 private:
  void Replace(platform::Surface picture);

  platform::Surface Image;
  bool Handle = false;  // a picture was loaded or made
};
