// The input strip's controls as the project shows them: its fields and
// boxes bound to the document's option values (each user edit an undoable
// step), the Apply and Close buttons, the fields checked as they are typed,
// and every control whose window is not built yet disabled with the reason.
// While a run goes on every panel is disabled.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QStatusBar;

namespace pelodyn {

class InputStrip;
class OptionBinding;
class ProjectDocument;
class Prompter;

class StripControls : public QObject {
  Q_OBJECT
 public:
  // `redraw` draws the section again (Apply of the grid panel).
  StripControls(ProjectDocument& document, InputStrip& strip, Prompter& prompter, QStatusBar& status,
                std::function<void()> redraw, QObject* parent = nullptr);

  // Every panel disabled while a run owns the project.
  void setRunInProgress(bool running);
  // The reasons of the disabled controls in the language now chosen.
  void retranslate(std::uint8_t language);

 private:
  void bind();
  void disableUnbuilt();

  ProjectDocument& m_document;
  InputStrip& m_strip;
  Prompter& m_prompter;
  QStatusBar& m_status;
  std::function<void()> m_redraw;
  OptionBinding* m_binding = nullptr;
};

}  // namespace pelodyn
