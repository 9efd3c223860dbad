// Every #include under src/ against the layers and seams of src/layers.txt: a
// folder includes only its own layer and those below, or through a listed seam.
#include <fnmatch.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// File path under src/ -> the texts of its #include lines, in order.
using Sources = std::map<std::string, std::vector<std::string>>;

struct Layers {
  std::map<std::string, int> rank;  // folder -> layer, 0 lowest
  std::vector<std::pair<std::string, std::string>> seams;
  std::vector<std::string> problems;  // lines of the file that mean nothing
};

Layers readLayers(const std::string& text) {
  Layers l;
  std::istringstream in(text);
  std::string line;
  for (int number = 1, layer = 0; std::getline(in, line); ++number) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    if (w[0] == "layer" && w.size() > 1) {
      for (size_t i = 1; i < w.size(); ++i) l.rank[w[i]] = layer;
      ++layer;
    } else if (w[0] == "seam" && w.size() == 3) {
      l.seams.emplace_back(w[1], w[2]);
    } else {
      l.problems.push_back("layers line " + std::to_string(number) + " is neither \"layer FOLDER...\" nor \"seam FILES INCLUDES\"");
    }
  }
  return l;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The listed folder that holds `folder`: itself or its closest listed parent.
const std::string* listedFolder(const Layers& l, std::string folder) {
  for (;;) {
    auto it = l.rank.find(folder);
    if (it != l.rank.end()) return &it->first;
    if (folder == ".") return nullptr;
    folder = folderOf(folder);
  }
}

// The file under src/ that an include names, from the top of src/ or from the
// including file's folder; empty for anything outside src/.
std::string resolve(const Sources& sources, const std::string& file, const std::string& include) {
  if (sources.count(include)) return include;
  const std::string local = fs::path(folderOf(file) + "/" + include).lexically_normal().string();
  return sources.count(local) ? local : std::string();
}

bool isSeam(const Layers& l, const std::string& file, const std::string& target) {
  for (const auto& [files, includes] : l.seams)
    if (fnmatch(files.c_str(), file.c_str(), 0) == 0 && fnmatch(includes.c_str(), target.c_str(), 0) == 0) return true;
  return false;
}

std::vector<std::string> check(const std::string& layersText, const Sources& sources) {
  const Layers l = readLayers(layersText);
  std::vector<std::string> problems = l.problems;
  for (const auto& [file, includes] : sources) {
    const std::string* from = listedFolder(l, folderOf(file));
    if (!from) {
      problems.push_back("src/" + file + ": its folder has no layer in src/layers.txt");
      continue;
    }
    for (const std::string& include : includes) {
      const std::string target = resolve(sources, file, include);
      if (target.empty()) continue;
      const std::string* to = listedFolder(l, folderOf(target));
      if (!to || l.rank.at(*to) <= l.rank.at(*from) || isSeam(l, file, target)) continue;
      problems.push_back("src/" + file + " includes \"" + include + "\": " + *from + " lies below " + *to +
                         " and no seam allows it");
    }
  }
  return problems;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(IncludeDirection, TheCheckFindsWhatGoesUpward) {
  const std::string layers = "layer a c  # c beside a\nlayer b\n";
  struct Case {
    const char* what;
    std::string layers;
    Sources sources;
    std::vector<std::string> problems;
  } cases[] = {
      {"down and sideways", layers, {{"a/x.h", {"c/z.h", "vector"}}, {"b/y.cpp", {"a/x.h", "y.h"}}, {"b/y.h", {}}, {"c/z.h", {}}}, {}},
      {"up", layers, {{"a/x.cpp", {"string", "b/y.h"}}, {"b/y.h", {}}},
       {"src/a/x.cpp includes \"b/y.h\": a lies below b and no seam allows it"}},
      {"up from a subfolder, by a path from there", layers, {{"a/s/x.cpp", {"../../b/y.h"}}, {"b/y.h", {}}},
       {"src/a/s/x.cpp includes \"../../b/y.h\": a lies below b and no seam allows it"}},
      {"up through a seam", layers + "seam a/x*.cpp b/*\n", {{"a/x1.cpp", {"b/y.h"}}, {"b/y.h", {}}}, {}},
      {"a seam for another file", layers + "seam a/w.cpp b/y.h\n", {{"a/x.cpp", {"b/y.h"}}, {"b/y.h", {}}},
       {"src/a/x.cpp includes \"b/y.h\": a lies below b and no seam allows it"}},
      {"a folder without a layer", layers, {{"d/x.cpp", {}}}, {"src/d/x.cpp: its folder has no layer in src/layers.txt"}},
      {"a line that means nothing", layers + "seam a/x.cpp\n", {},
       {"layers line 3 is neither \"layer FOLDER...\" nor \"seam FILES INCLUDES\""}},
  };
  for (const Case& c : cases) EXPECT_EQ(joined(check(c.layers, c.sources)), joined(c.problems)) << c.what;
}

TEST(IncludeDirection, NoFolderOfSrcIncludesOneAboveItButThroughASeam) {
  const fs::path src = fs::path(QV_TEST_DIR) / ".." / "src";
  std::ifstream layersFile(src / "layers.txt");
  ASSERT_TRUE(layersFile) << "src/layers.txt";
  std::stringstream layers;
  layers << layersFile.rdbuf();

  static const std::regex includeLine(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
  Sources sources;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(src)) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".h" && ext != ".hpp" && ext != ".cpp")) continue;
    std::vector<std::string>& includes = sources[e.path().lexically_relative(src).generic_string()];
    std::ifstream in(e.path());
    std::smatch m;
    for (std::string line; std::getline(in, line);)
      if (std::regex_search(line, m, includeLine)) includes.push_back(m[1]);
  }
  ASSERT_GT(sources.size(), 100u);
  EXPECT_EQ(joined(check(layers.str(), sources)), "");
}

}  // namespace
