// Helpers shared by the data-layer tests: reading text into a forest and
// describing a forest's shape in one line.
#pragma once

#include <string>

#include "base/appstate.h"
#include "base/forest.h"
#include "data/listreader.h"
#include "tree/tasktree.h"

inline int ReadText(TaskForest& tree, const std::string& text) {
  return ParseListFile(tree, text.data(), text.size());
}

// "A(B,C),D": names in tree order, children in brackets.
inline std::string Shape(TaskForest& tree, Node parent = kRootNode) {
  std::string out;
  for (Node node = FirstChild(tree, parent); node; node = NextSibling(tree, node)) {
    if (!out.empty()) out += ",";
    out += TaskName(tree, node);
    if (FirstChild(tree, node)) out += "(" + Shape(tree, node) + ")";
  }
  return out;
}

// The first node of that name in tree order, or none.
inline Node NamedNode(TaskForest& tree, const std::string& name) {
  Node found = nullptr;
  ForEachNode(tree, [&](Node at) {
    if (!found && TaskName(tree, at) == name) found = at;
  });
  return found;
}

// The node at a path of sibling positions from the top, e.g. {0, 1}.
inline Node NodeAt(TaskForest& tree, std::initializer_list<int> path) {
  Node node = kRootNode;
  for (int index : path) {
    node = FirstChild(tree, node);
    for (int i = 0; node && i < index; ++i) node = NextSibling(tree, node);
    if (!node) return nullptr;
  }
  return node;
}

// The list text of a tree: header, the given item lines, footer; lines end
// in CR LF.
inline std::string ListText(std::initializer_list<const char*> lines) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<list version=\"1.0\">\r\n";
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  text += "</list>\r\n";
  return text;
}
