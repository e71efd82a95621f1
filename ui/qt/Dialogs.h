#pragma once
// The window's dialogs: the common open and save dialog with the prompts its
// flags ask for, the folder picker, and the message box.
#include <QString>
#include <optional>
#include <string>

#include "ui/FormView.h"

class QFileDialog;
class QWidget;

namespace velkor::qt {

// "Garmin SRF Files|*.srf" -> "Garmin SRF Files (*.srf)"; several pairs give
// several filters, and ";" between patterns becomes a space.
QStringList ToQtFilters(const std::string& filter);

// The open or save dialog as the request asks for it: its mode, filters,
// prompts, starting folder and proposed name.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);
std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& request);
// The chosen folder or "" when cancelled; the picker asks BrowseCallbackProc
// where to open and what to show in its status line.
std::string RunFolderPicker(QWidget* parent, const std::string& title);
void ShowMessage(QWidget* parent, const std::string& text);

}  // namespace velkor::qt
