// Throw-away folders and level files for the level and resource tests.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "level/level_file.h"

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempDir {
    std::filesystem::path path;

    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pitlorex-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    std::string at(const std::string &name) const { return (path / name).string(); }

    // Writes `bytes` to `name`, making its folders.
    void write(const std::string &name, const std::string &bytes) const
    {
        std::filesystem::create_directories((path / name).parent_path());
        std::ofstream out(at(name), std::ios::binary);
        out << bytes;
    }

    // Opens level files inside this folder, as the game opens them in its own.
    LevelFileOpener opener() const
    {
        std::string base = path.string();
        return [base](const std::string &name) { return open_level_file(base + "/" + name); };
    }
};

// Rows joined with `line_break` after each one, the last one's only when `final_break`.
inline std::string level_text(const std::vector<std::string> &rows, const std::string &line_break = "\n",
                              bool final_break = true)
{
    std::string text;
    for (size_t i = 0; i < rows.size(); i++) {
        text += rows[i];
        if (i + 1 < rows.size() || final_break)
            text += line_break;
    }
    return text;
}

// 24 rows of 32 copies of `cell`.
inline std::vector<std::string> uniform_rows(char cell, int rows = MAP_ROWS)
{
    return std::vector<std::string>(rows, std::string(MAP_COLS, cell));
}

// Runs the rest of a test with the working directory set to `dir`.
struct WorkingDirectory {
    std::filesystem::path previous = std::filesystem::current_path();
    explicit WorkingDirectory(const std::filesystem::path &dir) { std::filesystem::current_path(dir); }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }
};
