#pragma once

#include <QString>

#include <string>
#include <vector>

class CVarnexView;

// The first count game files (*.sgf) under folder, as the file system's bytes.
std::vector<std::string> GameFiles(const QString& folder, int count);
// Writes count generated game records under folder, a thousand to a subfolder.
std::vector<std::string> WriteGameFiles(const QString& folder, int count);
// Lets the shown list lay out and paint every row it has been told about.
void Settle(CVarnexView& view);
