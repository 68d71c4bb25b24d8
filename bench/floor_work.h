// The floor programs' file work, shared by the benchmarks: plain system calls doing the least
// any implementation has to do to take a game into the list.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace benchfloor {

inline bool readWhole(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    char buffer[65536];
    out.clear();
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return true;
}

inline std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The least any implementation has to do for one batch of paths; returns the Saturn games
// found and appends their paths to `kept`.
class Floor {
public:
    int run(const std::vector<std::string>& paths, std::string& kept) {
        folders_.clear();
        int found = 0;
        for (const std::string& path : paths) {
            if (validate(path)) {
                ++found;
                kept += path + "\r\n";
            }
        }
        return found;
    }

private:
    bool validate(const std::string& path) {
        const size_t slash = path.rfind('/');
        const std::string folder = path.substr(0, slash + 1);
        std::string data;
        int fd = -1;
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".ccd") == 0) {
            struct stat info {};
            if (::stat(path.c_str(), &info) != 0)
                return false;
            // The image as the emulator names it (the CCD file's extension is lower case
            // here), else found in a listing of the folder ignoring letter case.
            const std::string base = path.substr(slash + 1, path.size() - slash - 5);
            data = folder + base + ".img";
            fd = ::open(data.c_str(), O_RDONLY);
            if (fd < 0) {
                const auto& names = listing(folder);
                const auto real = names.find(lowered(base + ".IMG"));
                if (real == names.end())
                    return false;
                data = folder + real->second;
            }
        } else {
            if (!readWhole(path, cue_))
                return false;
            const size_t file = cue_.find("FILE ");
            if (file == std::string::npos)
                return false;
            const size_t open = cue_.find('"', file);
            const size_t close = cue_.find('"', open + 1);
            data = folder + cue_.substr(open + 1, close - open - 1);
        }
        if (fd < 0)
            fd = ::open(data.c_str(), O_RDONLY);
        if (fd < 0)
            return false;
        char bytes[224];
        const ssize_t got = ::pread(fd, bytes, sizeof bytes, 0);
        ::close(fd);
        const int offset = got >= 8 && bytes[1] == '\xFF' ? 16 : 0;
        return got >= offset + 9 && std::memcmp(bytes + offset + 5, "SEGA", 4) == 0;
    }

    const std::unordered_map<std::string, std::string>& listing(const std::string& folder) {
        auto at = folders_.find(folder);
        if (at != folders_.end())
            return at->second;
        auto& names = folders_[folder];
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* entry = ::readdir(dir))
                names.emplace(lowered(entry->d_name), entry->d_name);
            ::closedir(dir);
        }
        return names;
    }

    std::string cue_;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> folders_;
};

inline void writeAll(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        if (::write(fd, text.data(), text.size()) < 0)
            std::fprintf(stderr, "warning: floor write failed\n");
        ::fsync(fd);
        ::close(fd);
    }
}

// The least a search of a tree does: list every folder's names once, keep the names with an
// image extension (".cue", ".ccd", ".m3u", any letter case), each folder's in sorted order,
// then its subfolders in sorted order.
inline void scanTree(const std::string& folder, std::vector<std::string>& found) {
    std::vector<std::string> images, subfolders;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (entry->d_type == DT_DIR) {
                if (name != "." && name != "..")
                    subfolders.push_back(name);
                continue;
            }
            const std::string extension =
                name.size() > 4 ? lowered(name.substr(name.size() - 4)) : "";
            if (extension == ".cue" || extension == ".ccd" || extension == ".m3u")
                images.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(images.begin(), images.end());
    std::sort(subfolders.begin(), subfolders.end());
    for (const std::string& image : images)
        found.push_back(folder + "/" + image);
    for (const std::string& subfolder : subfolders)
        scanTree(folder + "/" + subfolder, found);
}

} // namespace benchfloor
