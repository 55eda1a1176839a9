#include <chrono>

#include "builder/basics/flag_names.h"
#include "builder/project/project_parts.h"

namespace brennick::build {

BuildOptions ReadBuildOptions(TableReader& root, SettingsRecord& settings, StampRule& stamps) {
  BuildOptions options;
  auto build = root.Table("build");
  if (!build) return options;
  TableReader& b = *build;
  Assign(b.Integer("level", kFastestLevel, kSmallestLevel), options.level);
  Assign(b.Integer("chunk_size", 4096, 64 * 1024 * 1024), options.chunkSize);
  if (auto fromFile = b.Bool("archive_from_file")) settings.ArchiveFromFile = *fromFile ? 1 : 0;
  options.program = b.Choice<PeKind>("program", {{PeKindName(PeKind::Pe32), PeKind::Pe32},
                                                 {PeKindName(PeKind::Pe32Plus), PeKind::Pe32Plus}});

  if (const toml::node* node = b.Node("build_time"); node != nullptr) {
    if (node->is_string() && node->as_string()->get() == "now") {
      const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
      settings.BuildTime = BuildTimeBytes(CivilFromUnixSeconds(now.time_since_epoch().count()));
    } else {
      settings.BuildTime = BuildTimeBytes(*b.Time("build_time", "\"now\", "));
    }
  }

  if (const toml::node* node = b.Node("stamp"); node != nullptr) {
    if (node->is_string() && node->as_string()->get() == "source") {
      stamps.kind = StampRule::Kind::Source;
    } else if (node->is_string() && node->as_string()->get() == "none") {
      stamps.kind = StampRule::Kind::None;
    } else {
      stamps.kind = StampRule::Kind::Fixed;
      stamps.fixed = *b.Time("stamp", "\"source\", \"none\", ");
    }
  }
  b.Finish();
  return options;
}

void ReadFlags(TableReader& root, SettingsRecord& settings) {
  // On unless the project turns them off: the builder packs and checksums.
  settings.ProductFlags = (1ull << flags::kCompressedChunks) | (1ull << flags::kVerifyChecksums);
  settings.ProductFlags2 = 0;
  auto table = root.Table("flags");
  if (!table) return;
  TableReader& f = *table;
  for (const FlagName& flag : FlagNames()) {
    const auto on = f.Bool(flag.name);
    if (!on) continue;
    if (flag.word == FlagWord::Product) {
      const std::uint64_t bit = 1ull << flag.bit;
      settings.ProductFlags = *on ? settings.ProductFlags | bit : settings.ProductFlags & ~bit;
    } else {
      const std::uint32_t bit = 1u << flag.bit;
      settings.ProductFlags2 = *on ? settings.ProductFlags2 | bit : settings.ProductFlags2 & ~bit;
    }
  }
  if (auto raw = f.Bits("raw_flags", 64)) settings.ProductFlags |= *raw;
  if (auto raw = f.Bits("raw_flags2", 32)) settings.ProductFlags2 |= static_cast<std::uint32_t>(*raw);
  f.Finish();
}

}  // namespace brennick::build
