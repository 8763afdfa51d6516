// Feeds arbitrary bytes to the XML reader as a file and walks it as its callers do, until the end or an error.
// fuzz-links: xmlreader
// fuzz-seeds: tests/data/xml/seeds

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/system/Exceptions.h"
#include "xmlreader/QuXMLFileIn.h"

namespace {

std::string InputPath() {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/qv-fuzz-xml-" + std::to_string(getpid()) +
         ".xml";
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = InputPath();
  WriteInput(path, data, size);
  // The last byte picks the steps: whether the root is read first, and where to descend.
  const unsigned pattern = size > 0 ? data[size - 1] : 0;
  TXMLFileInput reader;
  try {
    reader.Open(path);
    unlink(path.c_str());  // the reader holds the file open; nothing is left behind
    if (pattern & 1) {
      std::string root;
      reader.ReadRoot(root);
    }
    for (unsigned step = 0; !reader.EndOfFile(); ++step) {
      const std::string value = reader.GetTagValue();
      // Asked again, the reader must give the same text.
      if (reader.GetTagValue() != value) std::abort();
      // And the same name, which TagNameIs must confirm. Names are copied on some steps only, as callers
      // compare them in place: tags that begin inside one another ("<a<a<a>") have names of a total
      // length that grows with the square of the line's.
      if (step < 256 || (step & (step - 1)) == 0) {
        const std::string name = reader.GetTagName();
        if (reader.GetTagName() != name || !reader.TagNameIs(name)) std::abort();
      }
      const bool descend = ((pattern >> (step % 7 + 1)) & 1) != 0;
      if (descend && !reader.TagClosed())
        reader.NextChildTag();
      else
        reader.SkipElement();
    }
  } catch (const EXMLInputError&) {
  } catch (const EInOutError&) {
  }
  unlink(path.c_str());
  return 0;
}
