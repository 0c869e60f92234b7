#pragma once

#include <string_view>

// Every text the engine shows to the user, in one place, so that the front ends, the batch tool
// and the tests all refer to the same words. Texts that are completed at run time are split
// into their fixed parts.
namespace terravue::msg {

// Product identity.
inline constexpr std::string_view ProductName = "Terravue";
inline constexpr std::string_view InternalName = "TERRAVUE_SURFACE";
inline constexpr std::string_view VersionText = "7.2";
inline constexpr std::string_view InstanceMarker = "TERRAVUE_RUNNING";
inline constexpr std::string_view SettingsFileName = "TERRAVUE_SURFACE.VSF";
inline constexpr std::string_view CadLayerPrefix = "TVU";

// Box titles.
inline constexpr std::string_view TitleError = "Error";
inline constexpr std::string_view TitleWarning = "Warning";
inline constexpr std::string_view TitleInformation = "Information";
inline constexpr std::string_view TitleConfirm = "Confirm";

// Box buttons.
inline constexpr std::string_view ButtonOK = "OK";
inline constexpr std::string_view ButtonCancel = "Cancel";
inline constexpr std::string_view ButtonYes = "&Yes";
inline constexpr std::string_view ButtonNo = "&No";

// Start-up and shutdown.
inline constexpr std::string_view InsufficientMemoryForProgram =
    "Insufficient memory for program execution.";
inline constexpr std::string_view AlreadyRunningSuffix = " is already running";
inline constexpr std::string_view InvalidCommandLine =
    "Invalid command line parameter or file not found.";
inline constexpr std::string_view CaptionNoData = " <No Data Loaded>";
inline constexpr std::string_view CaptionUnmodified = " (unmodified)";
inline constexpr std::string_view WelcomeTitlePrefix = "Welcome to the world of ";
inline constexpr std::string_view WelcomeVersionPrefix = "Version ";
inline constexpr std::string_view WelcomeStartPrefix = "Click to start ";
inline constexpr std::string_view WelcomeWhatNext = "What to do next...";
inline constexpr std::string_view WelcomeWhatNextInfo = "Display information about what to do next.";
inline constexpr std::string_view WelcomeDoNotShow = "Do not display this window in the future";
inline constexpr std::string_view UnhandledErrorSaveQuestion =
    "The current file has changes that have not been written to disk.\r\n"
    "Save them to a new file before the program ends?";

// Unsaved-changes questions.
inline constexpr std::string_view UnsavedChanges =
    "WARNING - The current file has changes that have not been written to disk.";
inline constexpr std::string_view ExitAnyway = "Exit anyway?";
inline constexpr std::string_view LoadNewDataAnyway = "Load new data anyway?";

// Opening models by name.
inline constexpr std::string_view FileNotFound = "File not found.";
inline constexpr std::string_view CouldNotLoadPrefix = "The file <";
inline constexpr std::string_view CouldNotLoadSuffix = "> could not be loaded.";

// Input checks.
inline constexpr std::string_view MinimumValueIs = "Minimum value is: ";
inline constexpr std::string_view MaximumValueIs = "Maximum value is: ";
inline constexpr std::string_view ValueMustRangeFrom = "Value must range from: ";
inline constexpr std::string_view RangeTo = " to: ";
inline constexpr std::string_view StringTooLong =
    "The entered string is too long.\r\nThe maximum length is: ";
inline constexpr std::string_view InputCanceledPrefix =
    "Input of new value canceled.\r\nThe original value (";
inline constexpr std::string_view InputCanceledSuffix = ") will be used.";
inline constexpr std::string_view RealOutOfRange = "Number out of range.";
inline constexpr std::string_view IntegerOutOfRange = "Number out of range";

// Model store.
inline constexpr std::string_view ErrorAllocatingMemory = "Error allocating memory.";
inline constexpr std::string_view ErrorFreeingMemory = "Error freeing memory.";

// Model file.
inline constexpr std::string_view FileManagementError = "File management error.";
inline constexpr std::string_view BadHeaderPrefix = "Bad header in .";
inline constexpr std::string_view BadHeaderSuffix = " file.";
inline constexpr std::string_view InsufficientMemoryToLoad = "Insufficient memory to load file.";

// Reports and the viewer.
inline constexpr std::string_view ViewerTitle = "View File";
inline constexpr std::string_view ViewerPreviewTitlePrefix = "View File: ";
inline constexpr std::string_view ErrorSavingFile = "Error saving the file.";
inline constexpr std::string_view ReportFileNotAvailable = "File: N/A";

// Surface properties.
inline constexpr std::string_view NoFileNameSpecified = "No file name specified.";
inline constexpr std::string_view NoCommentSpecified = "None specified";
inline constexpr std::string_view FileHasBeenSaved = "File has been saved.";
inline constexpr std::string_view FileHasNotBeenSaved = "File has NOT been saved.";

// Model identity and the Surface Properties window.
inline constexpr std::string_view CaptionNamePrefix = " <";
inline constexpr std::string_view CaptionNameSuffix = ">";
inline constexpr std::string_view PropertiesTitle = "Properties";
inline constexpr std::string_view PropertiesFileName = "File Name";
inline constexpr std::string_view PropertiesComment = "Comment";
inline constexpr std::string_view PropertiesCounts = "Counts";
inline constexpr std::string_view PropertiesPoints = "Points:";
inline constexpr std::string_view PropertiesTriangles = "Triangles:";
inline constexpr std::string_view PropertiesBreaklines = "Breaklines:";
inline constexpr std::string_view PropertiesStatus = "Status";
inline constexpr std::string_view PropertiesBordered = "Bordered:";
inline constexpr std::string_view PropertiesTriangulated = "Triangulated:";
inline constexpr std::string_view PropertiesYes = "Yes";
inline constexpr std::string_view PropertiesNo = "No";
inline constexpr std::string_view ExtentsMinimum = "Mimimum";  // sic: the window has always said so
inline constexpr std::string_view ExtentsMaximum = "Maximum";
inline constexpr std::string_view ExtentsRange = "Range";
inline constexpr std::string_view AxisX = "X:";
inline constexpr std::string_view AxisY = "Y:";
inline constexpr std::string_view AxisZ = "Z:";

// Progress window.
inline constexpr std::string_view ProgressTitle = "Progress";
inline constexpr std::string_view ContinueButton = "Continue";

// Front end: unhandled errors and help.
inline constexpr std::string_view UnhandledErrorUnknown = "An unexpected error has occurred.";
inline constexpr std::string_view HelpFileMissingPrefix = "The help file <";
inline constexpr std::string_view HelpFileMissingSuffix = "> could not be found.";

// ASCII import and export.
inline constexpr std::string_view ErrorReadingFile = "Error Reading File";
inline constexpr std::string_view NotPlainText =
    "The file is not a plain text file (it holds NUL bytes or is UTF-16 encoded) and can not be "
    "imported.";
inline constexpr std::string_view LoadingCoordinatePrefix = "Loading Coordinate > ";
inline constexpr std::string_view InsufficientCoordinateParameters =
    "Insufficient parameters for loading coordinate information.\r\n\r\nUnable to load coordinate "
    "file.";
inline constexpr std::string_view TotalPointsLoaded = "Total points loaded: ";
inline constexpr std::string_view DuplicatePointsNotLoaded = "Duplicate points not loaded: ";
inline constexpr std::string_view TotalPointsInMemory = "Total points in memory: ";
inline constexpr std::string_view LinesNotLoaded = "Lines not loaded: ";
inline constexpr std::string_view PointCapacityReached = "Point capacity has been reached.";
inline constexpr std::string_view AllPointsMayNotBeLoaded = "All points may not have been loaded.";
inline constexpr std::string_view CurrentBorderMayBeInvalid =
    "The current border may be invalid. Verify the border or redefine it before triangulating.";
inline constexpr std::string_view UnableToLoadCoordinateFile = "Unable to load coordinate file.";
inline constexpr std::string_view InsufficientBorderParameters =
    "Insufficient parameters for loading border information.\r\n\r\nUnable to load border file.";
inline constexpr std::string_view TotalBorderPoints = "Total border points = ";
inline constexpr std::string_view TotalBorderRecordsLoaded = "Total points loaded = ";
inline constexpr std::string_view InvalidBorderPoints = "Invalid points = ";
inline constexpr std::string_view VertexLinesNotLoaded = "Lines not loaded = ";
inline constexpr std::string_view NewBorderMayBeInvalid =
    "The new border may be invalid, use the Border Editor to correct any errors.";
inline constexpr std::string_view InsufficientBreaklineParameters =
    "Insufficient parameters for loading breakline information.";
inline constexpr std::string_view UnequalBreaklineParameters =
    "There is not an equal number of X-Y coordinates to match the number of point numbers.\r\n\r\n"
    "Breakline information can not be processed.";
inline constexpr std::string_view TooManyBreaklineParameters =  // sic: "forprocessing"
    "No more than two coordinates or point numbers are allowed forprocessing breakline information.";
inline constexpr std::string_view TotalBreaklinesInMemory = "Total breaklines in memory = ";
inline constexpr std::string_view InvalidBreaklinesNotLoaded = "Invalid breaklines not loaded = ";
inline constexpr std::string_view BreaklineCapacityReached = "Breakline capacity has been reached.";
inline constexpr std::string_view AllBreaklinesMayNotBeLoaded = "All breaklines may not have been loaded.";
inline constexpr std::string_view TotalPointsSaved = "Total points saved: ";
inline constexpr std::string_view TotalBorderPointsSaved = "Total border points saved: ";
inline constexpr std::string_view TotalBreaklinesSaved = "Total breaklines saved: ";
inline constexpr std::string_view BorderIsInvalid =
    "Border is invalid.\r\nUse the Border Editor to redefine the border.";
inline constexpr std::string_view NoDataToSave = "No data to save.";
inline constexpr std::string_view NoBorderToSave = "No border to save.";
inline constexpr std::string_view CurrentBorderCannotBeSaved =
    "The current border is invalid and can not be saved.";
inline constexpr std::string_view NoBreaklinesToSave = "No breaklines to save.";
inline constexpr std::string_view BreaklineEndNotAPoint =
    "A breakline refers to a point that does not exist. The breaklines can not be saved.";
inline constexpr std::string_view EraseExistingBreaklines = "Erase existing breaklines?";
inline constexpr std::string_view FormatCoordYXZ = "Northing, Easting, Elevation (Y, X, Z)";
inline constexpr std::string_view FormatCoordXYZ = "Easting, Northing, Elevation (X, Y, Z)";
inline constexpr std::string_view FormatCoordNumberYXZ =
    "Point Number, Northing, Easting, Elevation (#, Y, X, Z)";
inline constexpr std::string_view FormatCoordNumberXYZ =
    "Point Number, Easting, Northing, Elevation (#, X, Y, Z)";
inline constexpr std::string_view FormatVertexYX = "Northing, Easting (Y, X)";
inline constexpr std::string_view FormatVertexXY = "Easting, Northing (X, Y)";
inline constexpr std::string_view FormatVertexNumberYX = "Point Number, Northing, Easting (#, Y, X)";
inline constexpr std::string_view FormatVertexNumberXY = "Point Number, Easting, Northing (#, X, Y)";
inline constexpr std::string_view FormatBreaklineYXYX =
    "Northing, Easting, Northing, Easting (Y, X, Y, X)";
inline constexpr std::string_view FormatBreaklineXYXY =
    "Easting, Northing, Easting, Northing (X, Y, X, Y)";
inline constexpr std::string_view FormatBreaklineNumbers = "Point Number, Point Number (#, #)";
inline constexpr std::string_view FormatCustom = "Custom Format >";

// Triangulation and border (surface queries, triangulation, border, breaklines).
inline constexpr std::string_view ElevationOutsideSurface =
    "Unable to calculate the elevation of a point which is most likely outside the border of the "
    "surface model.";
inline constexpr std::string_view NoDataLoaded = "No data loaded.";
inline constexpr std::string_view TooFewPointsToTriangulate = "Must have at least 3 points to triangulate.";
inline constexpr std::string_view InsufficientPointCapacityForTriangulation =
    "Insufficient point capacity for triangulation.";
inline constexpr std::string_view ConvexBorderWillBeCreated =
    "WARNING - Current border is invalid, convex border will be created.";
inline constexpr std::string_view TriangulatingData = "Triangulating Data";
inline constexpr std::string_view TriangulationComplete = "Triangulation complete!";
inline constexpr std::string_view TriangulationDuplicatePoints =
    "Duplicate points detected:\r\nUse the Verify command in the Coordinate Editor to verify your data.";
inline constexpr std::string_view TriangulationOutOfMemory = "Insufficient memory to complete triangulation.";
inline constexpr std::string_view TriangulationBorderFailed = "Error adjusting triangles for border.";
inline constexpr std::string_view TriangulationBreaklinesFailed = "Error adjusting breaklines.";
inline constexpr std::string_view ViewBorderErrorList =
    "Some border segments are invalid.\r\nView border error list?";
inline constexpr std::string_view UnableToListBorderErrors = "Unable to list border errors.";
inline constexpr std::string_view SegmentListingCaption =
    "               Beginning                             Ending";
inline constexpr std::string_view BorderErrorColumnsXY =
    "    Point          X              Y     Point          X              Y";
inline constexpr std::string_view BorderErrorColumnsYX =
    "    Point          Y              X     Point          Y              X";
inline constexpr std::string_view InsufficientMemoryForBorderErrors =
    "Insufficient memory to track border errors.";
inline constexpr std::string_view CreatingBorder = "Creating Border...";
inline constexpr std::string_view BorderComplete = "Border complete!";
inline constexpr std::string_view ErrorCreatingBorder = "Error creating border";
inline constexpr std::string_view VerifyTheBorder = "Verify the border?";
inline constexpr std::string_view PointAlreadyOnBorder = "The selected point is already part of the border.";
inline constexpr std::string_view MinimumRangeOfThreePoints = "A minimum range of three points is required.";
inline constexpr std::string_view NoBorderSegmentForInsert =
    "There is no border segment in which to insert the selected point.";
inline constexpr std::string_view PointNotOnBorder = "The selected point is not a part of the border.";
inline constexpr std::string_view CannotRemoveBorderPoint =
    "Can not remove this point from the border.\r\nUse the New border command to redefine the border.";
inline constexpr std::string_view NoBorderDefined = "No border defined for this data.";
inline constexpr std::string_view ErrorInBorderDefinition = "Error in border definition.";
inline constexpr std::string_view ReportPointsNearBorder = "Report points near the border";
inline constexpr std::string_view BorderToleranceCaption = "Border Tolerance";
inline constexpr std::string_view BorderToleranceLabel = "Border tolerance";
inline constexpr std::string_view UnableToVerifyBorder = "Unable to verify border";
inline constexpr std::string_view InsufficientMemoryForBorderCheck =
    "Insufficient memory for complete border check.";
inline constexpr std::string_view NoBorderErrorsFound =
    "No border errors found.\r\nVerify the border to reset the error list.";
inline constexpr std::string_view FieldExtentsTitle = " Field Extents";
inline constexpr std::string_view FieldExtentsColumns = "              Minimum        Maximum          Range";
inline constexpr std::string_view ExtentLabelX = "     X:";
inline constexpr std::string_view ExtentLabelY = "     Y:";
inline constexpr std::string_view ExtentLabelZ = "     Z:";
inline constexpr std::string_view UnitFeet = " feet";
inline constexpr std::string_view UnitMeters = " meters";
inline constexpr std::string_view VerifyNoBorder = " WARNING - No border defined for this data.";
inline constexpr std::string_view VerifyInvalidBorder = " ERROR - Border definition is invalid.";
inline constexpr std::string_view AreaSquareMeters = " Total 2-D area (square meters) > ";
inline constexpr std::string_view AreaHectares = "                     (hectares) > ";
inline constexpr std::string_view AreaSquareFeet = " Total 2-D area (square feet) > ";
inline constexpr std::string_view AreaSquareYards = "               (square yards) > ";
inline constexpr std::string_view AreaAcres = "                      (acres) > ";
inline constexpr std::string_view PointsOutsideBorder = " WARNING - The following points are outside the border.";
inline constexpr std::string_view DistanceColumn = "  Distance";
inline constexpr std::string_view PointColumnsXY = "    Number  Label            X              Y              Z";
inline constexpr std::string_view PointColumnsYX = "    Number  Label            Y              X              Z";
inline constexpr std::string_view TotalBorderErrors = " Total number of border errors: ";
inline constexpr std::string_view NoBorderErrors = " No border errors.";
inline constexpr std::string_view PointsNearBorderPrefix = " WARNING - The following points are within ";
inline constexpr std::string_view OfTheBorder = " of the border.";
inline constexpr std::string_view TotalPointsNearBorder = " Total number of points near the border: ";
inline constexpr std::string_view NoPointsNearBorderPrefix = " No points are within ";
inline constexpr std::string_view ErrorFinishingVerify =
    "Error finishing 'Verify' command.\r\nSave your data and restart the program.";
inline constexpr std::string_view InsufficientMemoryForOption = "Insufficient memory for this option.";
inline constexpr std::string_view InsufficientMemoryForBreaklineErrors =
    "Insufficient memory to track breakline errors.";
inline constexpr std::string_view ViewBreaklineErrorList =
    "Unable to adjust for some breaklines.\r\nView breakline error list?";
inline constexpr std::string_view UnableToListBreaklineErrors = "Unable to list breakline errors.";
inline constexpr std::string_view BreaklineListingCaption =
    "Breakline          Beginning                             Ending";
inline constexpr std::string_view BreaklineErrorColumnsXY =
    " Number  Point         X              Y     Point          X              Y";
inline constexpr std::string_view BreaklineErrorColumnsYX =
    " Number  Point         Y              X     Point          Y              X";
inline constexpr std::string_view BreaklinesAtCapacity =
    "Breaklines are at capacity. No more breaklines can be added.";
inline constexpr std::string_view StartPointSameAsEndPoint =
    "The start point must not be the same as the end point.";
inline constexpr std::string_view NoBreaklinesToDelete = "There are no breaklines to delete.";
inline constexpr std::string_view DeleteAllPrefix = "Delete all ";
inline constexpr std::string_view DeleteAllSuffix = " breaklines";
inline constexpr std::string_view NoBreaklinesToUndelete = "There are no breaklines to undelete.";
inline constexpr std::string_view NoBreaklinesToExecute = "There are no breaklines to execute.";
inline constexpr std::string_view TriangulateBeforeBreaklines =
    "Data must be triangulated before breakline \r\nadjustment can be performed.";
inline constexpr std::string_view BreaklinesNotExecuted =
    "No breakline errors found.\r\nBreaklines have not been executed.";
inline constexpr std::string_view NoBreaklineErrorsFound = "No breakline errors found.";
inline constexpr std::string_view NoBreaklinesPresent = "No breaklines present.";

// Volumes: the two commands, the Surface Comparison dialog and the volume report.
inline constexpr std::string_view NoTrianglesForExistingSurface =
    "Triangulation data is not available\r\nfor existing surface model.";
inline constexpr std::string_view NoTrianglesForProposedSurface =
    "Triangulation data is not available\r\nfor proposed surface model.";
inline constexpr std::string_view CurrentFileNotSaved = "The current file has not been saved.";
inline constexpr std::string_view ErrorAllocatingVolumeMemory = "Error allocating memory for volume calculations.";
inline constexpr std::string_view FileTypeNotSupported = "That file type is not supported.";
inline constexpr std::string_view ProposedSurfaceNotLoaded = "Proposed surface not loaded.";
inline constexpr std::string_view SurfacesAreTheSame =
    "The surfaces are the same.\r\nNo volumetric difference between them.";
inline constexpr std::string_view SurfacesDoNotOverlap = "Surfaces do not overlap.\r\nNo volumes can be calculated.";
inline constexpr std::string_view UnableToDisplayOutput = "Unable to display output.";
inline constexpr std::string_view BorderOfPrefix = "Border of ";
inline constexpr std::string_view PointsSuffixArrow = " --> ";
inline constexpr std::string_view PointsSuffix = " points";
inline constexpr std::string_view CutFactorFieldError = "Invalid cut factor.";
inline constexpr std::string_view FillFactorFieldError = "Invalid fill factor.";
inline constexpr std::string_view VolumeReportExisting = "Existing Surface";
inline constexpr std::string_view VolumeReportProposed = "Proposed Surface";
inline constexpr std::string_view VolumeReportFileName = "  File name : ";
inline constexpr std::string_view VolumeReportComment = "  Comment   : ";
inline constexpr std::string_view VolumeReportNoComment = "none";
inline constexpr std::string_view CommonAreaHectares = "Total Common Field Area (hectares) = ";
inline constexpr std::string_view CutAreaHectares = "             Cut Area   (hectares) = ";
inline constexpr std::string_view FillAreaHectares = "             Fill Area  (hectares) = ";
inline constexpr std::string_view CommonAreaAcres = "Total Common Field Area (acres) = ";
inline constexpr std::string_view CutAreaAcres = "             Cut Area   (acres) = ";
inline constexpr std::string_view FillAreaAcres = "             Fill Area  (acres) = ";
inline constexpr std::string_view VolumeColumns = "                                  Total        Factor              Net";
inline constexpr std::string_view CutVolumeMeters = "Cut Volume  (cu. meters) = ";
inline constexpr std::string_view FillVolumeMeters = "Fill Volume (cu. meters) = ";
inline constexpr std::string_view CutVolumeYards = "Cut Volume  (cu. yards)  = ";
inline constexpr std::string_view FillVolumeYards = "Fill Volume (cu. yards)  = ";
inline constexpr std::string_view VolumeRule = "                           ---------------                ---------------";
inline constexpr std::string_view RatioOfCutFill = "Ratio of Cut/Fill        = ";
inline constexpr std::string_view RatioNotAvailable = "         N/A   ";
inline constexpr std::string_view RatioGap = "                ";
inline constexpr std::string_view NetRatioNotAvailable = "         N/A";
inline constexpr std::string_view LocationMaxCut = "Location of: Max Cut = ";
inline constexpr std::string_view LocationMaxFill = "     Max Fill = ";
inline constexpr std::string_view ValueNotAvailable = "   -- N/A --   ";
inline constexpr std::string_view MaxCutX = "                   X = ";
inline constexpr std::string_view MaxFillX = "            X = ";
inline constexpr std::string_view MaxCutY = "                   Y = ";
inline constexpr std::string_view MaxFillY = "            Y = ";
inline constexpr std::string_view MaxCutNorthing = "            Northing = ";
inline constexpr std::string_view MaxFillNorthing = "     Northing = ";
inline constexpr std::string_view MaxCutEasting = "             Easting = ";
inline constexpr std::string_view MaxFillEasting = "      Easting = ";
inline constexpr std::string_view ReportCommentsTitle = "Report Comments:";
inline constexpr std::string_view NoReportComments = "(No comments available.)";
inline constexpr std::string_view CutFillListingTitle = "Cut/Fill Data Listing";
inline constexpr std::string_view CutFillListingFile = "File: ";
inline constexpr std::string_view CutFillColumnsXY =
    "   Point          ( X-Y ) Coordinates       Elevation        Cut/Fill";
inline constexpr std::string_view CutFillColumnsNE =
    "   Point          ( N-E ) Coordinates       Elevation        Cut/Fill";

// Map options and their dialogs.
inline constexpr std::string_view MapOptionsCaption = "Map Options";
inline constexpr std::string_view SetTriangleOptionsCaption = "Set Triangle Options";
inline constexpr std::string_view SetBreaklineOptionsCaption = "Set Breakline Options";
inline constexpr std::string_view SetBorderOptionsCaption = "Set Border Options";
inline constexpr std::string_view SetMiscOptionsCaption = "Set Miscellaneous Options";
inline constexpr std::string_view SetSurfaceGridOptionsCaption = "Set Surface Grid Options";
inline constexpr std::string_view SetContourOptionsCaption = "Set Contour Options";
inline constexpr std::string_view SetPointOptionsCaption = "Set Point Options";
inline constexpr std::string_view SetTitleOptionsCaption = "Set Title Options";
inline constexpr std::string_view SetAnalyzerOptionsCaption = "Set Analyzer Options";
inline constexpr std::string_view InvalidBreaklineNumberTextHeight = "Invalid Breakline Number Text Height";
inline constexpr std::string_view InvalidArrowAngle = "Invalid arrow angle";
inline constexpr std::string_view InvalidTextHeight = "Invalid text height";
inline constexpr std::string_view InvalidGridXInterval = "Invalid Surface Grid X Interval";
inline constexpr std::string_view InvalidGridYInterval = "Invalid Surface Grid Y Interval";
inline constexpr std::string_view InvalidGridMultiple = "Invalid Surface Grid Multiple";
inline constexpr std::string_view InvalidGridTextHeight = "Invalid Surface Grid Text Height";
inline constexpr std::string_view InvalidGridDashLength = "Invalid Surface Grid Dash Line Length";
inline constexpr std::string_view InvalidGridSpaceLength = "Invalid Surface Grid Dash Space Length";
inline constexpr std::string_view InvalidContourInterval = "Invalid Contour Interval";
inline constexpr std::string_view InvalidContourMultiple = "Invalid Contour Line Multiple";
inline constexpr std::string_view InvalidMinimumContour = "Invalid minimum contour";
inline constexpr std::string_view InvalidMaximumContour = "Invalid maximum contour";
inline constexpr std::string_view InvalidBaseContour = "Invalid base contour elevation";
inline constexpr std::string_view InvalidContourTextHeight = "Invalid Contour Label Text Height";
inline constexpr std::string_view InvalidLabelFrequency = "Invalid Contour Label Frequency";
inline constexpr std::string_view InvalidDashLength = "Invalid Dash Line Length";
inline constexpr std::string_view InvalidSpaceLength = "Invalid Dash Space Length";
inline constexpr std::string_view InvalidSegments = "Invalid Segments Per Curve";
inline constexpr std::string_view InvalidTension = "Invalid Tension";
inline constexpr std::string_view InvalidMarkerHeight = "Invalid point marker height";
inline constexpr std::string_view InvalidTextAngle = "Invalid text angle";
inline constexpr std::string_view InvalidDownSlopeSpacing = "Invalid down slope grid spacing";
inline constexpr std::string_view InvalidArrowMagnitude = "Invalid slope arrow magnitude";
inline constexpr std::string_view InvalidFlowSpacing = "Invalid flow path grid spacing";
inline constexpr std::string_view DashLengthOutOfRange = "Dash Line Length value out of range";
inline constexpr std::string_view SpaceLengthOutOfRange = "Dash Space Length value out of range";
inline constexpr std::string_view ContourIntervalOutOfRange = "Contour Interval value out of range";
inline constexpr std::string_view LabelFrequencyOutOfRange = "Label Frequency value out of range";
inline constexpr std::string_view SegmentsOutOfRange = "Segments Per Curve value out of range";
inline constexpr std::string_view TensionOutOfRange = "Tension value out of range";
// Values the drawing could not use (nothing to draw, endless loops): refused like the others.
inline constexpr std::string_view GridXIntervalOutOfRange = "Surface Grid X Interval value out of range";
inline constexpr std::string_view GridYIntervalOutOfRange = "Surface Grid Y Interval value out of range";
inline constexpr std::string_view GridMultipleOutOfRange = "Surface Grid Multiple value out of range";
inline constexpr std::string_view ContourMultipleOutOfRange = "Contour Line Multiple value out of range";
inline constexpr std::string_view BreaklineTextHeightOutOfRange =
    "Breakline Number Text Height value out of range";
inline constexpr std::string_view GridTextHeightOutOfRange = "Surface Grid Text Height value out of range";
inline constexpr std::string_view ContourTextHeightOutOfRange =
    "Contour Label Text Height value out of range";
inline constexpr std::string_view PointTextHeightOutOfRange = "Point Text Height value out of range";
inline constexpr std::string_view ScaleBarTextHeightOutOfRange = "Scale Bar Text Height value out of range";
inline constexpr std::string_view TitleTextHeightOutOfRange = "Title Text Height value out of range";
inline constexpr std::string_view MiscTextHeightOutOfRange = "Misc. Text Height value out of range";
inline constexpr std::string_view DownSlopeSpacingOutOfRange = "Down Slope Grid Spacing value out of range";
inline constexpr std::string_view ArrowMagnitudeOutOfRange = "Slope Arrow Magnitude value out of range";
inline constexpr std::string_view FlowSpacingOutOfRange = "Flow Path Grid Spacing value out of range";
inline constexpr std::string_view DownSlopeTurnedOff =
    "Down slope diagram turned OFF.\r\n\r\nEither 'Draw at triangle centers'\r\nor 'Draw at grid points' "
    "must be checked.";
inline constexpr std::string_view TooManyLinesPrefix = "Only the first ";
inline constexpr std::string_view TooManyContourLevelsSuffix =
    " contour levels are drawn.\r\nIncrease the contour interval.";
inline constexpr std::string_view TooManyGridLinesSuffix =
    " surface grid lines are drawn.\r\nIncrease the grid interval.";

// Page set-up, Set Scale, calibration and printing.
inline constexpr std::string_view SetScaleCaption = "Set Scale";
inline constexpr std::string_view NotAvailableIn3D = "This command not available while viewing in 3-D.";
inline constexpr std::string_view ScaleLabelFeet = "Scale (feet/inch) >";
inline constexpr std::string_view ScaleLabelMetres = "Scale (m/cm) >";
inline constexpr std::string_view XOffsetLabel = "X Offset >";
inline constexpr std::string_view YOffsetLabel = "Y Offset >";
inline constexpr std::string_view NorthingOffsetLabel = "Northing Offset >";
inline constexpr std::string_view EastingOffsetLabel = "Easting Offset >";
inline constexpr std::string_view PrintUsingBlackWhite = "Black/White";
inline constexpr std::string_view PrintUsingColour = "Color";
inline constexpr std::string_view InvalidRotationAngle = "Invalid rotation angle for printer output.";
inline constexpr std::string_view InvalidPrinterScale = "Invalid scale for printer output.";
inline constexpr std::string_view InvalidPrinterOffset = "Invalid offset for printer output.";
inline constexpr std::string_view CalibrationCaption = "Printer Calibration";
inline constexpr std::string_view InvalidHorizontalCalibration = "Invalid horizontal calibration factor.";
inline constexpr std::string_view InvalidVerticalCalibration = "Invalid vertical calibration factor.";
inline constexpr std::string_view PrinterNotAvailableUseSetup =
    "Printer not available.\r\nUse the Print Setup command to specify a printer.";
inline constexpr std::string_view PrinterNotAvailable = "Printer not available.";
inline constexpr std::string_view PrinterNotAvailableLabel = "Printer not available";
inline constexpr std::string_view PrintCaption = "Print";
inline constexpr std::string_view Portrait = "Portrait";
inline constexpr std::string_view Landscape = "Landscape";
inline constexpr std::string_view ScaleSuffixFeet = " (feet/inch)";
inline constexpr std::string_view ScaleSuffixMetres = " (m/cm)";
inline constexpr std::string_view NotApplicable = "N/A";
inline constexpr std::string_view Printing = "Printing...";
inline constexpr std::string_view PrintingComplete = "Printing complete!";
inline constexpr std::string_view PrintingFailed = "The map could not be printed.";
inline constexpr std::string_view PdfPrinterName = "PDF file";

}  // namespace terravue::msg
