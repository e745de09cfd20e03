// SPDX-License-Identifier: GPL-2.0-or-later
// Frame-sized buffers on 2 MB pages where the kernel offers them. Each fresh
// 4 KB page costs a fault when it is first touched, and a frame buffer is
// megabytes: thousands of faults per buffer on 4 KB pages, a handful on
// 2 MB ones. Where transparent huge pages are off, the advice does nothing.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

namespace kelvra::cli {

template <class T>
struct HugePageAllocator {
    using value_type = T;

    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) {}

    T* allocate(size_t n) {
        constexpr size_t kHugePage = size_t{2} << 20;
        const size_t bytes = n * sizeof(T);
        const size_t align = bytes >= kHugePage ? kHugePage : alignof(std::max_align_t);
        const size_t rounded = (bytes + align - 1) / align * align;
        void* p = std::aligned_alloc(align, rounded);
        if (!p) throw std::bad_alloc();
        if (align == kHugePage) madvise(p, rounded, MADV_HUGEPAGE);
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t) { std::free(p); }

    template <class U>
    bool operator==(const HugePageAllocator<U>&) const {
        return true;
    }
    template <class U>
    bool operator!=(const HugePageAllocator<U>&) const {
        return false;
    }
};

template <class T>
using FrameBuffer = std::vector<T, HugePageAllocator<T>>;

}  // namespace kelvra::cli
