// Turns the bytes of an EMF or WMF file into SVG. Runs only inside the helper process (and the
// fuzzer): the libraries it drives are not trusted with the program's memory.
#pragma once

#include "helper_protocol.h"

#include <cstddef>
#include <string>

namespace metafile {

enum class Status {
    Ok,
    NotMetafile,  // neither EMF nor WMF
    TooLarge,     // more bytes than the helper accepts
    Damaged,      // the record structure does not hold together
    BadSize,      // the header's picture size is empty or absurd
    ReaderFailed, // the converting library refused the file or drew nothing
};

constexpr std::size_t kMaxInputBytes = 64u * 1024 * 1024;

struct Result {
    Status status = Status::ReaderFailed;
    std::string svg;
    int frameWidth = 0; // natural size in pixels at 96 dpi
    int frameHeight = 0;
    std::string detail; // why it failed, for a person
};

Result parseMetafile(const unsigned char* data, std::size_t size);

} // namespace metafile
