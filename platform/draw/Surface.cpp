#include "platform/draw/Surface.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

void Pixels::Free() noexcept {
  if (mapped_)
    munmap(data_, size_ * sizeof(Pixel));
  else
    std::free(data_);
}

void Pixels::Make(size_t count, Pixel fill) {
  Pixels made;
  if (count) {
    const size_t bytes = count * sizeof(Pixel);
    if (bytes >= kMapFrom) {
      void* mapped =
          mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (mapped != MAP_FAILED) made.data_ = static_cast<Pixel*>(mapped), made.mapped_ = true;
    }
    if (!made.data_) made.data_ = static_cast<Pixel*>(std::calloc(count, sizeof(Pixel)));
    if (!made.data_) throw std::bad_alloc();
    made.size_ = count;
    if (fill) std::fill(made.begin(), made.end(), fill);
  }
  Swap(made);
}

void Pixels::Copy(const Pixel* from, size_t count) {
  Pixels made;
  if (count) {
    made.data_ = static_cast<Pixel*>(std::malloc(count * sizeof(Pixel)));
    if (!made.data_) throw std::bad_alloc();
    made.size_ = count;
    std::memcpy(made.data_, from, count * sizeof(Pixel));
  }
  Swap(made);
}

}  // namespace platform
