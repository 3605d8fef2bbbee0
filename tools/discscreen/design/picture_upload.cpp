#include "design/picture_upload.h"

#include <cctype>
#include <fstream>

#include "pictures/picture_bitmap.h"
#include "pictures/picture_files.h"
#include "reading/disc_folder.h"

namespace {

// A background or a strip of more colours than a 256-colour display
// leaves a picture is reduced to that many, dithered.
constexpr std::size_t kDisplayColours = 236;
constexpr std::size_t kLongestName = 64;

bool Refuse(int code, const std::string& text, int* status, std::string* why) {
    *status = code;
    *why = text;
    return false;
}

std::string Upper(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

// A plain name the script can hold: letters, digits, space, "_", "-" and
// one ".", of a picture's extension.
bool PlainPictureName(const std::string& name) {
    if (name.empty() || name.size() > kLongestName || name[0] == '.' || name[0] == ' ') return false;
    for (char ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != ' ' && ch != '_' && ch != '-' && ch != '.') return false;
    }
    std::size_t dot = name.find('.');
    if (dot == std::string::npos || name.find('.', dot + 1) != std::string::npos) return false;
    const std::string extension = Upper(name.substr(dot));
    return extension == ".PNG" || extension == ".JPG" || extension == ".JPEG" || extension == ".GIF" ||
           extension == ".BMP";
}

bool SameFileOrNone(const DiscFile& file, const std::vector<unsigned char>& bytes) {
    if (!file.found) return true;
    std::vector<unsigned char> there;
    return !file.directory && ReadWholeFile(file.localPath, &there) && there == bytes;
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// The bitmap made beside `discPath`: its name in capitals, as the program
// asks for it, so that a disc image keeping letter case finds it.
std::string BitmapNameBeside(const std::string& discPath) {
    const std::size_t folderEnd = discPath.find_last_of('\\') + 1;
    const std::string stem = discPath.substr(folderEnd, discPath.find_last_of('.') - folderEnd);
    return discPath.substr(0, folderEnd) + Upper(stem) + ".BMP";
}

// The bitmap of `bytes` beside `discPath`, written unless the same is there.
bool KeepBitmapOf(const std::string& discFolder, const std::string& discPath, const std::vector<unsigned char>& bytes,
                  BroughtPicture* kept, int* status, std::string* why) {
    PicturePixels pixels;
    std::string refusal;
    if (!DecodePictureFile(bytes, kWhiteMatte, &pixels, &refusal))
        return Refuse(422, "'" + discPath + "' is not shown: " + refusal, status, why);
    kept->original = discPath;
    if (PictureFormat(bytes) == "BMP") {
        kept->bitmap = discPath;
        return true;
    }
    std::string how;
    const std::vector<unsigned char> bitmap = ProgramBitmap(pixels, kDisplayColours, true, &how);
    kept->bitmap = BitmapNameBeside(discPath);
    DiscFolder disc(discFolder);
    DiscFile there = disc.Find(kDiscRoot + kept->bitmap);
    if (!SameFileOrNone(there, bitmap))
        return Refuse(409, "'" + kept->bitmap + "' is on the disc already; it is left as it is", status, why);
    std::string local = discFolder + "/" + kept->bitmap;
    for (char& ch : local) {
        if (ch == '\\') ch = '/';
    }
    if (!there.found && !WriteBytes(local, bitmap))
        return Refuse(500, "cannot write '" + kept->bitmap + "'", status, why);
    return true;
}

}  // namespace

bool KeepUploadedPicture(const std::string& discFolder, const std::string& name, const std::string& bytes,
                         BroughtPicture* kept, int* status, std::string* why) {
    if (!PlainPictureName(name))
        return Refuse(400, "'" + name + "' is no plain picture name (letters, digits, space, _ and -, and .PNG, .JPG,"
                           " .GIF or .BMP)", status, why);
    const std::vector<unsigned char> file(bytes.begin(), bytes.end());
    DiscFile there = DiscFolder(discFolder).Find(kDiscRoot + name);
    if (!SameFileOrNone(there, file))
        return Refuse(409, "'" + name + "' is on the disc already; it is left as it is", status, why);
    PicturePixels pixels;
    std::string refusal;
    if (!DecodePictureFile(file, kWhiteMatte, &pixels, &refusal))
        return Refuse(422, "'" + name + "' is not shown: " + refusal, status, why);
    const std::string discName = there.found ? there.discName : name;
    if (!there.found && !WriteBytes(discFolder + "/" + name, file))
        return Refuse(500, "cannot write '" + name + "'", status, why);
    return KeepBitmapOf(discFolder, discName, file, kept, status, why);
}

bool ConvertDiscPicture(const std::string& discFolder, const std::string& discPath, BroughtPicture* kept,
                        int* status, std::string* why) {
    DiscFile file = DiscFolder(discFolder).Find(kDiscRoot + discPath);
    std::vector<unsigned char> bytes;
    if (!file.found || file.directory || !ReadWholeFile(file.localPath, &bytes))
        return Refuse(404, "'" + discPath + "' is no file of the disc", status, why);
    return KeepBitmapOf(discFolder, file.discName, bytes, kept, status, why);
}
