#pragma once
// A picture that an author brings to the designer (a file dropped on the
// screen, or a PNG, JPEG or GIF named in a picture field) made into the
// bitmap the program shows, beside it on the disc. The original is kept,
// and nothing on the disc is overwritten.
#include <string>
#include <vector>

struct BroughtPicture {
    std::string bitmap;    // from the disc's root, with backslashes, as a script names it
    std::string original;
};

// At most this much is taken in one request.
constexpr std::size_t kMostRequestBytes = 32u * 1024 * 1024;

// A file uploaded under `name` into the disc's root. False, with the HTTP
// status and why, when it is refused.
bool KeepUploadedPicture(const std::string& discFolder, const std::string& name, const std::string& bytes,
                         BroughtPicture* kept, int* status, std::string* why);
// A picture the disc holds already (`discPath` as a script names it).
bool ConvertDiscPicture(const std::string& discFolder, const std::string& discPath, BroughtPicture* kept,
                        int* status, std::string* why);
