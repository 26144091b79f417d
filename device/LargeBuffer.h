#pragma once

#include <cstddef>
#include <new>
#include <string>

#ifdef __linux__
#include <cstdlib>
#include <sys/mman.h>
#endif

// Allocates buffers of megabytes (a firmware image held for its upload) in
// huge pages where the system offers them: first touching 2048 small pages
// of a new 8 MiB buffer can cost more than sending it to the appliance.
template <class T> struct LargeBufferAllocator {
    using value_type = T;

    LargeBufferAllocator() = default;
    template <class U> LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept { }

    T* allocate(std::size_t count)
    {
        const std::size_t size = count * sizeof(T);
#ifdef __linux__
        if (size >= HugePage) {
            const std::size_t rounded = (size + HugePage - 1) / HugePage * HugePage;
            void* buffer = std::aligned_alloc(HugePage, rounded);
            if (!buffer)
                throw std::bad_alloc();
            madvise(buffer, rounded, MADV_HUGEPAGE); // only a hint; small pages serve as well
            return static_cast<T*>(buffer);
        }
#endif
        return static_cast<T*>(::operator new(size));
    }

    void deallocate(T* buffer, std::size_t count) noexcept
    {
#ifdef __linux__
        if (count * sizeof(T) >= HugePage) {
            std::free(buffer);
            return;
        }
#endif
        ::operator delete(buffer);
    }

    template <class U> bool operator==(const LargeBufferAllocator<U>&) const noexcept { return true; }

private:
    static constexpr std::size_t HugePage = std::size_t(2) << 20;
};

using LargeBuffer = std::basic_string<char, std::char_traits<char>, LargeBufferAllocator<char>>;
