// The check every module's export table passes: it lists each C function
// the module's library exports exactly once, each under an ordinal of its
// own, and nothing else.
#pragma once

#include "kernel32/module.h"
#include "win/exports.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace export_check {

// The C functions a shared library exports, read from its dynamic symbol
// table on disk: what dlsym, and so binding by name, can find.
inline std::set<std::string> ExportedFunctions(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::set<std::string> names;
  if (image.size() < sizeof(Elf64_Ehdr))
    return names;
  Elf64_Ehdr header;
  std::memcpy(&header, image.data(), sizeof header);
  auto section = [&](size_t index) {
    Elf64_Shdr s;
    std::memcpy(&s, image.data() + header.e_shoff + index * header.e_shentsize, sizeof s);
    return s;
  };
  for (size_t i = 0; i < header.e_shnum; i++) {
    Elf64_Shdr symbols = section(i);
    if (symbols.sh_type != SHT_DYNSYM)
      continue;
    Elf64_Shdr strings = section(symbols.sh_link);
    for (size_t at = 0; at + sizeof(Elf64_Sym) <= symbols.sh_size; at += sizeof(Elf64_Sym)) {
      Elf64_Sym symbol;
      std::memcpy(&symbol, image.data() + symbols.sh_offset + at, sizeof symbol);
      std::string name = image.data() + strings.sh_offset + symbol.st_name;
      bool defined_function = ELF64_ST_TYPE(symbol.st_info) == STT_FUNC && symbol.st_shndx != SHN_UNDEF &&
                              ELF64_ST_BIND(symbol.st_info) != STB_LOCAL;
      // C++ members (the handle table's) are no functions to bind by name.
      if (defined_function && name.rfind("_", 0) != 0)
        names.insert(name);
    }
  }
  return names;
}

// `atLeast`: how many functions the library must export at the least.
inline void ExpectTableListsEveryExport(HMODULE module, size_t atLeast = 1) {
  ASSERT_NE(module, nullptr);
  link_map* map = nullptr;
  ASSERT_EQ(dlinfo(module, RTLD_DI_LINKMAP, &map), 0);
  std::set<std::string> exported = ExportedFunctions(map->l_name);
  ASSERT_GE(exported.size(), atLeast) << map->l_name;

  const auto* table = static_cast<const PlatformExportTable*>(dlsym(module, "PlatformModuleExports"));
  ASSERT_NE(table, nullptr);
  std::set<std::string> listed;
  std::set<int> ordinals;
  for (int i = 0; i < table->count; i++) {
    EXPECT_TRUE(listed.insert(table->entries[i].name).second) << table->entries[i].name << " listed twice";
    EXPECT_TRUE(ordinals.insert(table->entries[i].ordinal).second) << "ordinal " << table->entries[i].ordinal;
    EXPECT_GT(table->entries[i].ordinal, 0);
  }
  EXPECT_EQ(listed, exported);
}

} // namespace export_check
