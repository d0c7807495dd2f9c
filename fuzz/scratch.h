// What the fuzz targets share: a folder of the process's own for the files
// they write, and a check that stops the run on a broken property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// A fresh folder under $TMPDIR (or /tmp), made on first use and removed with
// everything in it when the process ends normally.
const std::string& ScratchFolder();

void WriteWholeFile(const std::string& path, std::string_view contents);
std::string ReadWholeFile(const std::string& path);

// Prints what failed and aborts, so that libFuzzer keeps the input as a finding.
void Check(bool holds, std::string_view what, std::string_view detail = {});

// The text with control and non-ASCII bytes written as \xNN, for messages.
std::string Printable(std::string_view text);

}  // namespace fuzz
