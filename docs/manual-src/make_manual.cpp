// Builds the user manual's HTML pages from one source text a language
// (manual.de.txt, manual.en.txt, manual.fr.txt). A source holds pages:
//
//   @page NAME | Title            starts a page (NAME.html)
//   ## Heading                    a heading
//   - item                        a list item
//       code                      (four blanks) a preformatted line
//   [[NAME|text]]                 a link to another page
//   **text**                      strong text
//
// Blank lines end paragraphs. Every page the program opens (the contents,
// one page a help topic number, getting started, the command line) must be
// in every language, or nothing is written.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/help_topics.h"

namespace fs = std::filesystem;

namespace {

struct Page {
  std::string name, title;
  std::vector<std::string> lines;
};

std::string escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Escapes a line and turns its links and strong parts into HTML.
std::string inlineHtml(const std::string& line, std::vector<std::string>& links) {
  std::string out;
  size_t i = 0;
  bool strong = false;
  while (i < line.size()) {
    if (line.compare(i, 2, "[[") == 0) {
      const size_t end = line.find("]]", i);
      const size_t bar = line.find('|', i);
      if (end != std::string::npos && bar != std::string::npos && bar < end) {
        const std::string target = line.substr(i + 2, bar - i - 2);
        links.push_back(target);
        out += "<a href=\"" + escape(target) + ".html\">" +
               escape(line.substr(bar + 1, end - bar - 1)) + "</a>";
        i = end + 2;
        continue;
      }
    }
    if (line.compare(i, 2, "**") == 0) {
      out += strong ? "</strong>" : "<strong>";
      strong = !strong;
      i += 2;
      continue;
    }
    out += escape(std::string(1, line[i]));
    ++i;
  }
  if (strong) out += "</strong>";
  return out;
}

struct Language {
  const char* code;
  const char* contents;
  const char* name;
};

const Language kLanguages[] = {
    {"de", "Inhalt", "Deutsch"}, {"en", "Contents", "English"}, {"fr", "Sommaire", "Français"}};

const char* kStyle =
    "body{font-family:sans-serif;max-width:46em;margin:1em auto;padding:0 1em;line-height:1.45}"
    "h1{font-size:1.5em;border-bottom:2px solid #2a7a2a}h2{font-size:1.15em;margin-top:1.4em}"
    "pre{background:#f2f2ea;padding:.5em;overflow:auto}nav{font-size:.9em;margin-bottom:1em}"
    "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:.2em .5em}";

std::string render(const Page& page, const Language& lang, std::vector<std::string>& links) {
  std::ostringstream html;
  html << "<!DOCTYPE html>\n<html lang=\"" << lang.code << "\">\n<head>\n<meta charset=\"utf-8\">\n"
       << "<title>" << escape(page.title) << "</title>\n<style>" << kStyle << "</style>\n"
       << "</head>\n<body>\n";
  if (page.name != "index")
    html << "<nav><a href=\"index.html\">" << lang.contents << "</a></nav>\n";
  html << "<h1>" << escape(page.title) << "</h1>\n";
  std::string paragraph;
  bool inList = false, inPre = false;
  auto flush = [&] {
    if (!paragraph.empty()) html << "<p>" << paragraph << "</p>\n";
    paragraph.clear();
  };
  auto closeBlocks = [&] {
    if (inList) html << "</ul>\n";
    if (inPre) html << "</pre>\n";
    inList = inPre = false;
  };
  for (const std::string& line : page.lines) {
    if (line.rfind("    ", 0) == 0) {
      flush();
      if (inList) html << "</ul>\n", inList = false;
      if (!inPre) html << "<pre>", inPre = true;
      html << escape(line.substr(4)) << "\n";
      continue;
    }
    if (line.empty()) {
      flush();
      closeBlocks();
      continue;
    }
    if (inPre) html << "</pre>\n", inPre = false;
    if (line.rfind("## ", 0) == 0) {
      flush();
      closeBlocks();
      html << "<h2>" << inlineHtml(line.substr(3), links) << "</h2>\n";
    } else if (line.rfind("- ", 0) == 0) {
      flush();
      if (!inList) html << "<ul>\n", inList = true;
      html << "<li>" << inlineHtml(line.substr(2), links) << "</li>\n";
    } else if (inList && line.rfind("  ", 0) == 0) {
      html << " " << inlineHtml(line.substr(2), links);
    } else {
      if (inList) html << "</ul>\n", inList = false;
      paragraph += (paragraph.empty() ? "" : "\n") + inlineHtml(line, links);
    }
  }
  flush();
  closeBlocks();
  html << "</body>\n</html>\n";
  return html.str();
}

bool readPages(const fs::path& source, std::vector<Page>& pages, std::string& error) {
  std::ifstream in(source);
  if (!in) {
    error = "cannot read " + source.string();
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("@page ", 0) == 0) {
      const size_t bar = line.find('|');
      if (bar == std::string::npos) {
        error = source.string() + ": \"" + line + "\" lacks \"| Title\"";
        return false;
      }
      Page page;
      page.name = line.substr(6, bar - 6);
      while (!page.name.empty() && page.name.back() == ' ') page.name.pop_back();
      page.title = line.substr(bar + 1);
      while (!page.title.empty() && page.title.front() == ' ') page.title.erase(0, 1);
      pages.push_back(page);
    } else if (!pages.empty()) {
      pages.back().lines.push_back(line);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_manual SOURCE_FOLDER OUTPUT_FOLDER\n");
    return 1;
  }
  std::vector<std::string> required{"index", "getting-started", "command-line"};
  for (int topic : plavesk::kHelpTopics) required.push_back("topic-" + std::to_string(topic));

  std::map<std::string, std::map<std::string, std::string>> output;  // lang -> file -> html
  for (const Language& lang : kLanguages) {
    std::vector<Page> pages;
    std::string error;
    if (!readPages(fs::path(argv[1]) / (std::string("manual.") + lang.code + ".txt"), pages,
                   error)) {
      std::fprintf(stderr, "make_manual: %s\n", error.c_str());
      return 2;
    }
    std::map<std::string, bool> names;
    for (const Page& p : pages) names[p.name] = true;
    for (const std::string& name : required)
      if (!names.count(name)) {
        std::fprintf(stderr, "make_manual: %s: page \"%s\" is missing\n", lang.code, name.c_str());
        return 3;
      }
    for (const Page& p : pages) {
      std::vector<std::string> links;
      output[lang.code][p.name + ".html"] = render(p, lang, links);
      for (const std::string& link : links)
        if (!names.count(link)) {
          std::fprintf(stderr, "make_manual: %s: page \"%s\" links to a missing \"%s\"\n",
                       lang.code, p.name.c_str(), link.c_str());
          return 3;
        }
    }
  }
  std::ostringstream choice;
  choice << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Plavesk</title>\n"
         << "<style>" << kStyle << "</style>\n</head>\n<body>\n<h1>Plavesk 4.0</h1>\n<ul>\n";
  for (const Language& lang : kLanguages)
    choice << "<li><a href=\"" << lang.code << "/index.html\">" << lang.name << "</a></li>\n";
  choice << "</ul>\n</body>\n</html>\n";
  output[""]["index.html"] = choice.str();

  for (const auto& [lang, files] : output) {
    const fs::path folder = fs::path(argv[2]) / lang;
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const auto& [name, html] : files) {
      const fs::path path = folder / name;
      // Unchanged pages are left alone, so the build does not redo them.
      std::ifstream old(path, std::ios::binary);
      std::stringstream was;
      was << old.rdbuf();
      if (old && was.str() == html) continue;
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << html;
      if (!out) {
        std::fprintf(stderr, "make_manual: cannot write %s\n", path.string().c_str());
        return 2;
      }
    }
  }
  return 0;
}
