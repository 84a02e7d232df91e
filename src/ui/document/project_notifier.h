// Tells everything that shows the project what changed. Data flows one way:
// an edit goes to the ProjectDocument, the document changes the project, then
// this notifier tells every window, grid and drawing. Only the document
// emits these signals.
#pragma once

#include <QObject>
#include <QString>

#include "keys/option_keys.h"
#include "model/working_store.h"

namespace pelodyn {

// The object name of the control that shows an option.
inline QString OptionObjectName(Option option) {
  const std::string_view name = OptionName(option);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

class ProjectNotifier : public QObject {
  Q_OBJECT
 signals:
  // A new project, a project read from a file: everything changed, and what
  // a window showed of the previous project is gone.
  void projectReset();
  // Every row of one table may have changed.
  void tableReset(pelodyn::Table table);
  // Rows of one table from `position` (1-based) on may have changed, been
  // inserted or removed.
  void rowsChanged(pelodyn::Table table, int position);
  // Sent with rowsChanged by a row edit: `removed` rows at `position` were
  // replaced by `inserted` rows (an edited row: 1 and 1), so that grids
  // keep their selection in place.
  void rowsEdited(pelodyn::Table table, int position, int removed, int inserted);
  // One option value changed (by its control name).
  void optionChanged(pelodyn::Option control);
  // The language of captions and messages changed.
  void languageChanged();
  // A run started or ended.
  void runStateChanged();
  // The surfaces a run presents changed (a run ended, a replay, a reset).
  void resultsChanged();
  // The modified mark changed.
  void modifiedChanged(bool modified);
  // The user's settings changed (drawing area, scale, grid, markers, page
  // setup, the analysis settings a new project starts with): not a project
  // edit, so not undoable and not marking the project modified.
  void settingsChanged();
};

}  // namespace pelodyn
