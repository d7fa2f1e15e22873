#include "cli/file_image.h"

#include <sys/mman.h>
#include <unistd.h>

#include "state/file_io.h"
#include "state/prefault.h"

FileImage::FileImage(std::FILE* file) : size_(file_size(file)) {
    if (size_ >= LARGE_PAGE_BYTES / 4)
        read_into_large_pages(fileno(file));
    else if (size_ > 0)
        map(fileno(file));
    if (!data_)
        size_ = 0;
}

FileImage::~FileImage() {
    if (data_)
        ::munmap(mapping_, mapped_);
}

void FileImage::map(int fd) {
    void* at = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (at == MAP_FAILED)
        return;
    mapping_ = at;
    mapped_ = size_;
    data_ = static_cast<const uint8_t*>(at);
}

void FileImage::read_into_large_pages(int fd) {
    size_t whole = (size_ + LARGE_PAGE_BYTES - 1) & ~(LARGE_PAGE_BYTES - 1);
    mapped_ = whole + LARGE_PAGE_BYTES; // room to start on a large-page boundary
    void* at = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED)
        return;
    mapping_ = at;
    auto* start = reinterpret_cast<uint8_t*>((uintptr_t(at) + LARGE_PAGE_BYTES - 1) &
                                             ~(LARGE_PAGE_BYTES - 1));
    prefer_large_pages(start, whole);
    size_t done = 0;
    while (done < size_) {
        ssize_t n = ::pread(fd, start + done, size_ - done, off_t(done));
        if (n <= 0)
            break;
        done += size_t(n);
    }
    if (done == size_)
        data_ = start;
    else
        ::munmap(mapping_, mapped_);
}
