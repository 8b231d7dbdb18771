// Whole-file output for every format the builder writes.
#include "output_file.h"

#include "build_error.h"

#include <filesystem>
#include <fstream>

void put_le16(Bytes &out, uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void put_le32(Bytes &out, uint32_t v)
{
    put_le16(out, v & 0xFFFF);
    put_le16(out, v >> 16);
}

void put_be16(Bytes &out, uint32_t v)
{
    out.push_back((v >> 8) & 0xFF);
    out.push_back(v & 0xFF);
}

void put_be32(Bytes &out, uint32_t v)
{
    put_be16(out, v >> 16);
    put_be16(out, v & 0xFFFF);
}

void write_file(const std::string &path, const Bytes &data)
{
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
    if (!out)
        throw BuildError(path, 0, "cannot be written");
}
