#include "check/windows_files.h"

#include <fstream>
#include <iterator>

namespace {

constexpr unsigned kIconGroupType = 14;  // RT_GROUP_ICON
constexpr unsigned kSubdirectoryBit = 0x80000000u;

unsigned Word(const std::vector<unsigned char>& bytes, std::size_t at) {
    if (at + 2 > bytes.size()) return 0;
    return bytes[at] | (bytes[at + 1] << 8);
}

unsigned Long(const std::vector<unsigned char>& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) return 0;
    return Word(bytes, at) | (Word(bytes, at + 2) << 16);
}

// The file offset of a relative virtual address, through the section table;
// 0 when no section holds it.
std::size_t FileOffset(const std::vector<unsigned char>& bytes, std::size_t sections, unsigned count,
                       unsigned address) {
    for (unsigned i = 0; i < count; ++i) {
        std::size_t header = sections + i * 40;
        unsigned start = Long(bytes, header + 12), size = Long(bytes, header + 8);
        if (size == 0) size = Long(bytes, header + 16);
        if (address >= start && address < start + size) return Long(bytes, header + 20) + (address - start);
    }
    return 0;
}

// The entries of the resource directory at `directory`: (id or 0 for a
// name, offset of what it points to from the resources' start).
std::vector<std::pair<unsigned, unsigned>> DirectoryEntries(const std::vector<unsigned char>& bytes,
                                                             std::size_t directory) {
    std::vector<std::pair<unsigned, unsigned>> entries;
    unsigned named = Word(bytes, directory + 12), numbered = Word(bytes, directory + 14);
    for (unsigned i = 0; i < named + numbered; ++i) {
        std::size_t entry = directory + 16 + i * 8;
        if (entry + 8 > bytes.size()) break;
        unsigned name = Long(bytes, entry);
        entries.push_back({i < named ? 0u : (name & 0xFFFF), Long(bytes, entry + 4)});
    }
    return entries;
}

std::vector<int> IconGroups(const std::vector<unsigned char>& bytes, std::size_t resources) {
    std::vector<int> groups;
    for (const auto& type : DirectoryEntries(bytes, resources)) {
        if (type.first != kIconGroupType || !(type.second & kSubdirectoryBit)) continue;
        for (const auto& group : DirectoryEntries(bytes, resources + (type.second & ~kSubdirectoryBit)))
            groups.push_back(static_cast<int>(group.first));
    }
    return groups;
}

}  // namespace

ProgramFile ReadProgramFile(const std::vector<unsigned char>& bytes) {
    ProgramFile program;
    if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z') return program;
    program.kind = ProgramKind::kDos;
    std::size_t header = Long(bytes, 0x3C);
    if (header + 24 > bytes.size()) return program;
    if (bytes[header] == 'N' && bytes[header + 1] == 'E') {
        program.kind = ProgramKind::kSixteenBit;
        return program;
    }
    if (Long(bytes, header) != 0x4550) return program;  // "PE\0\0"
    unsigned machine = Word(bytes, header + 4);
    program.kind = machine == 0x14C ? ProgramKind::kWin32
                   : (machine == 0x8664 || machine == 0x200) ? ProgramKind::kWin64
                                                             : ProgramKind::kOther;
    unsigned sectionCount = Word(bytes, header + 6);
    std::size_t optional = header + 24;
    std::size_t sections = optional + Word(bytes, header + 20);
    unsigned magic = Word(bytes, optional);
    std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
    unsigned resourcesAddress = Long(bytes, directories + 2 * 8);  // the resource table
    if (resourcesAddress == 0) return program;
    std::size_t resources = FileOffset(bytes, sections, sectionCount, resourcesAddress);
    if (resources != 0) program.iconGroupIds = IconGroups(bytes, resources);
    return program;
}

IconFile ReadIconFile(const std::vector<unsigned char>& bytes) {
    IconFile icon;
    if (Word(bytes, 0) != 0 || Word(bytes, 2) != 1) return icon;
    int count = static_cast<int>(Word(bytes, 4));
    if (count == 0 || 6 + 16 * static_cast<std::size_t>(count) > bytes.size()) return icon;
    for (int i = 0; i < count; ++i) {
        std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        std::size_t size = Long(bytes, entry + 8), offset = Long(bytes, entry + 12);
        if (size < 8 || offset + size > bytes.size()) return icon;
        if (bytes[offset] == 0x89 && bytes[offset + 1] == 'P' && bytes[offset + 2] == 'N' && bytes[offset + 3] == 'G') {
            ++icon.pngImages;
        } else if (Word(bytes, offset + 14) == 32) {  // the image header's bit count
            ++icon.alphaImages;
        }
    }
    icon.images = count;
    icon.valid = true;
    return icon;
}

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
