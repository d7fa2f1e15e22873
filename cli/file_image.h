// FileImage: a whole open file in memory, for the readers that parse an image.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>

// Empty when the file is empty or cannot be read. A large file is read into large pages, which
// costs a fraction of mapping it page by page (see prefer_large_pages); a small one is mapped.
class FileImage {
  public:
    explicit FileImage(std::FILE* file);
    ~FileImage();
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;

    std::span<const uint8_t> bytes() const { return {data_, size_}; }

  private:
    void map(int fd);
    void read_into_large_pages(int fd);

    size_t size_;
    void* mapping_ = nullptr;
    size_t mapped_ = 0;
    const uint8_t* data_ = nullptr;
};
