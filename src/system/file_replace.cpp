// Whole-file replacement in one call, over FileReplacement.
#include "system/file_replace.h"

bool replace_file_contents(std::u16string_view path, std::string_view bytes, std::u16string& problem) {
    FileReplacement replacement;
    return replacement.begin(path, problem) && replacement.write(bytes.data(), bytes.size(), problem) &&
           replacement.commit(problem);
}
