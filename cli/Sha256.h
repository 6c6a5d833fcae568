#pragma once
// SHA-256 of a text, as 64 lowercase hexadecimal digits. A part file of a
// sharded study records the digest of what its samples were computed from,
// so that the merge can refuse parts computed from different inputs; a
// cryptographic digest makes an accidental match of two different inputs
// out of the question, whatever their size. The command links no library
// that offers one, hence this short implementation (FIPS 180-4).

#include <string>
#include <string_view>

namespace terraq::cli {

std::string Sha256Hex(std::string_view bytes);

}  // namespace terraq::cli
