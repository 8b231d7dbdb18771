// Writing the builder's results: whole files at once, folders made as needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Little- and big-endian appenders for the binary formats.
void put_le16(Bytes &out, uint32_t v);
void put_le32(Bytes &out, uint32_t v);
void put_be16(Bytes &out, uint32_t v);
void put_be32(Bytes &out, uint32_t v);

// Writes `data` to `path`, making its folder first. Throws BuildError when the file cannot be
// written.
void write_file(const std::string &path, const Bytes &data);
