// The captions of the main window and of the settings dialogs in English and
// Thai, and the texts of the windows' questions, notices and refusals.
//
// A caption row names a control by its component name and says which of its
// properties the text sets: a menu item's caption, a tool button's hint, or
// the text of a button, label or check box. The built-in English texts of the
// window (with their accelerator marks, "&New") belong to the window; the
// table holds what the language switch writes, so a switch to Thai and back
// leaves "New" without its mark. Every text is UTF-8; "\r" in a question is
// a line break.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelodyn {

enum class CaptionProperty { Caption, Hint, Text };

struct CaptionRow {
  std::string_view control;
  CaptionProperty property;
  std::string_view english;
  std::string_view thai;
};

// Every row, menu items first, then tool-bar hints, effect-bar buttons and
// the input panels' controls. A control appears once.
std::span<const CaptionRow> CaptionTable();

// The text of `control` in `language` (0 Thai, 1 English); empty for a
// control without a row or an unknown language.
std::string_view CaptionText(std::uint8_t language, std::string_view control);

// Texts of the window's questions and notices that the numbered message
// table does not hold.
enum class UiText {
  NewCaption,
  NewQuestion,
  QuitCaption,
  QuitQuestion,
  ReplaceCaption,
  ReplaceQuestion,
  FileSaved,
  FileNotSaved,
  DataNotPrinted,
  // Open while the project has unsaved changes.
  SaveChangesCaption,
  SaveChangesQuestion,
  // A second running program finds the working store taken.
  StoreInUse,
  // A settings file that cannot be read; {0} is the reason.
  SettingsDamaged,
  AboutCaptionPrefix,
  OpenDialogFilter,
  SaveDialogFilterCurrent,
  SaveDialogFilterLegacy,
  ExportPictureCaption,
  ExportPictureFilter,
  PictureWidth,
  PictureHeight,
  PictureExported,
  // A command that arrives with a later window.
  NotYetAvailable,
  // The status line after a run: {0} the minima ("Bishop 1.999, ..."), {1}
  // the area of the sliding mass.
  RunSummary,
  RunStopped,
  // A stopped run: {0} the trials done, {1} the trials the search had.
  RunStoppedAfterOf,
  // A stopped run whose number of trials was not known beforehand.
  RunStoppedAfter,
  // Save after a stopped run: {0} the stopped-run text, {1} the result file.
  PartialResultsCaption,
  PartialResultsQuestion,
  // The project file was written but not its result file: {0} the project
  // file, {1} the result file, {2} the reason.
  ResultFileNotWritten,
  // A field whose text does not convert: {0} the field's caption, {1} the
  // conversion message.
  FieldInvalid,
  // Undo and Redo in the Edit menu.
  UndoCaption,
  RedoCaption,
  // Why a command is disabled.
  LaterDataEntry,
  LaterDrawing,
  NoHelpFile,
  // Why the commands this version leaves out are disabled: the circle and
  // the irregular surface are keyed in on the step-by-step form, the
  // contour interval follows the results, the data are checked at the run.
  KeyInOnStepForm,
  ContourNotSet,
  CheckedAtRun,
  // The moving-centre listing is made by the command-line program.
  MovingCentreByCli,
  // The contour map's legend title (it names the method the map shows) and
  // its minimum mark: {0} the factor.
  ContourLegendTitle,
  ContourLegendMinimum,
  // Draw > Geometry with no soil to draw a line for.
  DrawSoilsFirst,
  // The grid of centres given up before its third corner: {0} the corners
  // clicked.
  GridCornersIncomplete,
  // The Setting dialog's questions on a large working area, which is slow
  // to draw.
  WorkingAreaCaption,
  WorkingAreaWidthQuestion,
  WorkingAreaHeightQuestion,
  // The Setting dialog's refusals.
  GridSizeRefused,
  ScaleRefused,
  // {0} the caption of the upper limit, {1} that of the lower limit (whose
  // English ends with its own full stop).
  WorkAreaInverted,
  WorkAreaTooLarge,
  // The Page Setup dialog's refusals: {0} the page width, {1} the page
  // height, both with their unit.
  MarginNegative,
  MarginsWiderThanPage,
  // The items of the unit and circle-choice combo boxes.
  UnitInches,
  UnitCentimeters,
  CircleCountItem,
  RadiusDecrementItem,
  // Why the Analysis Setting dialog only shows the circle choice.
  CircleChoiceElsewhere,
  // Why the grid of centres is disabled under a specific circular search.
  GridUnusedBySpecificSearch,
  // Where each water unit weight is used (the step-by-step form's hints).
  WaterLineUnitWeightHint,
  CrackUnitWeightHint,
  // The row commands of a grid without row buttons (its pop-up menu), and
  // the Append button of every grid.
  InsertRow,
  AppendRow,
  DeleteRow,
  // Delete of a soil row that a boundary line still uses: {0} the soil's
  // number.
  SoilInUseQuestion,
  // Printing: the print dialog's caption, the File menu's preview and PDF
  // items and their three documents, the PDF file filter and notice ({0}
  // the file), and the result report without results.
  PrintCaption,
  PrintPreviewCaption,
  ExportPdfCaption,
  DrawingPageItem,
  DataReportItem,
  ResultReportItem,
  PdfFilter,
  PdfExported,
  NoResultsToReport,
  // Save: the result file beside the project was removed, because the
  // project has no results of the saved data ({0} the result file), or was
  // left because it could not be removed ({1} the reason).
  ResultFileRemoved,
  ResultFileNotRemoved,
  // Open: the result file beside the project belongs to other data ({0}).
  SavedResultsNotOfData,
  // Open: the result file or its stamp cannot be read: {0} the reason.
  SavedResultsUnreadable,
  // New, Open and Quit with results not yet written to a result file.
  SaveResultsQuestion,
  // A minimum that is a result code, not a factor: {0} the code's meaning.
  NoFactor,
  // Results the data no longer match: shown instead of them, and the
  // refusal of a report that would print them.
  ResultsOutOfDate,
  // Which surface the Failure Geometry window and the result report list:
  // {0} what it is (one of the five texts below), {1} where it lies and its
  // factors.
  SurfaceShown,
  // The Slice Forces window: {0} the factor, {1} lambda; {0} the reason; {0} an x.
  SliceForcesCaption,
  SliceForcesSolution,
  SliceForcesNoSolution,
  SliceForcesNoSurface,
  SliceForcesTension,
  SliceForcesThrustOutside,
  SliceForcesChecksPassed,
  SliceForcesSlice,
  SliceForcesNormalSeries,
  SliceForcesShearSeries,
  SliceForcesClose,
  SliceForcesLeft,
  SliceForcesRight,
  // {0} the method.
  SurfaceCriticalCircle,
  SurfaceResultsRow,
  SurfaceSpecifiedCircle,
  // {0} the method.
  SurfaceBestIrregular,
  SurfaceSpecifiedIrregular,
  // The surface a run analysed last, when it is none of the above.
  SurfaceAnalysedLast,
  // {0} X, {1} Y of the centre, {2} the radius.
  SurfaceCircleGeometry,
  // {0} the factors ("Simplified Bishop 1.2345, ...").
  SurfaceFactors,
  // The progress window: its captions while and after a run, its labels and
  // buttons, " of " between the trials done and planned, and the column
  // titles of its two grids ('|' between them; the sorted grid takes the
  // first four and the factor of its method).
  ProgressCalculating,
  ProgressComplete,
  ProgressTotal,
  ProgressOf,
  ProgressStart,
  ProgressStop,
  ProgressDetails,
  ProgressHide,
  ProgressClose,
  ProgressMethod,
  ProgressMinimumFs,
  ProgressFactorOfSafety,
  ProgressSort,
  ProgressResultsTitles,
  // What Vegetation Export changed: {0} the rows it changed, one a line.
  VegetationExported,
  // {0} soil number, {1} its row, {2} the cohesion before, {3} after.
  VegetationSoilChanged,
  VegetationNothingChanged,
  // The Next button of the step-by-step form's pages, and the row and
  // closing buttons of the grids and table dialogs (Insert and Delete are
  // InsertRow and DeleteRow above).
  StepNext,
  ClearAllRows,
  DialogApply,
  DialogClose,
  // The soil dialog's button that gives every soil its default colour.
  DefaultColors,
  // The vegetation window's title.
  VegetationCaption,
  // The message boxes' standard buttons.
  ButtonOk,
  ButtonCancel,
  ButtonSave,
  ButtonDiscard,
  ButtonYes,
  ButtonNo,
  // The About box's line under the program's name.
  AboutDescription,
  // The batch window: its title, labels, buttons and notices. BatchTotal
  // has {0} the files chosen; BatchFileOf {0} the file's place, {1} the
  // files, {2} its name.
  BatchCaption,
  BatchSourceDirectory,
  BatchSourceFiles,
  BatchSelectedFiles,
  BatchProgress,
  BatchChooseFolder,
  BatchAdd,
  BatchAddAll,
  BatchRun,
  BatchStop,
  BatchCancel,
  BatchNotRunYet,
  BatchTotal,
  BatchQuestionCaption,
  BatchQuestion,
  BatchFileOf,
  BatchStopped,
  BatchComplete,
  // The batch report window: its title, Save and Close, and the filter of
  // its Save dialog.
  BatchReportCaption,
  BatchReportSave,
  BatchReportClose,
  TextDocumentFilter,
};

std::string_view UiTextFor(std::uint8_t language, UiText text);

// Whether `fs` is a value that stands for a missing factor instead of being
// one: kNoFactor (no factor found) or a result code (1000000, 1000006 to
// 1000011).
bool IsResultCodeValue(double fs);
// "no factor: " and the meaning of the result code `fs` in `language`;
// empty when `fs` is a factor.
std::string NoFactorText(std::uint8_t language, double fs);

// The texts of the settings dialogs (Setting, Analysis Setting, Page Setup)
// by component name: labels, group boxes, check boxes and buttons, English
// with the accelerator marks the dialogs show. Empty for a control without
// a row or an unknown language. A name shared by two dialogs has one text.
std::string_view DialogCaptionText(std::uint8_t language, std::string_view control);

}  // namespace pelodyn
