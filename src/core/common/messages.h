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
// File > New over a model that is saved.
inline constexpr std::string_view EraseOldData = "Erase old data from memory and load new data?";

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
// A model whose stored triangles do not form a sound surface; the first fault follows.
inline constexpr std::string_view TrianglesNotLoaded =
    "The triangles stored in this file are inconsistent and were not loaded.\r\n"
    "The points, border and breaklines were. Triangulate to build the surface again.";

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
inline constexpr std::string_view ExtentsMinimum = "Minimum";
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
// Lines that held more numbers than the format reads from them, listed by number.
inline constexpr std::string_view ExtraNumbersLines = "Lines with more numbers than the format reads: ";
inline constexpr std::string_view PointCapacityReached = "Point capacity has been reached.";
// The first lines a load could not use, each "Line 12: " and why.
inline constexpr std::string_view LinePrefix = "Line ";
inline constexpr std::string_view MoreLinesPrefix = "... and ";
inline constexpr std::string_view MoreLinesSuffix = " more";
inline constexpr std::string_view NotANumberSuffix = "\" is not a number";
inline constexpr std::string_view TooLargeSuffix = "\" is too large for a coordinate";
inline constexpr std::string_view LineEndsTooSoon = "the line ends before all its fields were read";
inline constexpr std::string_view FileEndsTooSoon = "the file ends before all its fields were read";
inline constexpr std::string_view NoPointNumberPrefix = "there is no point number ";
inline constexpr std::string_view NoPointLabelledPrefix = "no point is labelled ";
inline constexpr std::string_view SeveralPointsLabelledPrefix = "several points are labelled ";
inline constexpr std::string_view NoPointAtPrefix = "no point lies within 0.001 of X = ";
inline constexpr std::string_view NoPointAtY = ", Y = ";
inline constexpr std::string_view PointAlreadyOnRing = "the point is on the border already";
inline constexpr std::string_view BreaklineEndsCoincide = "both ends are the same point";
inline constexpr std::string_view BreaklineRepeated = "the breakline is there already";
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
inline constexpr std::string_view VertexExtraNumbersLines = "Lines with more numbers than the format reads = ";
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

// LandXML import and export. "%1", "%2", ... stand for the parts filled in at run time.
inline constexpr std::string_view LandXmlNotImported = "The LandXML file <%1> can not be imported.";
inline constexpr std::string_view LandXmlAtLine = "Line %1: %2";
inline constexpr std::string_view LandXmlTooLarge =
    "The file holds %1 MB; a LandXML file of more than %2 MB is more than a model can hold.";
inline constexpr std::string_view LandXmlNotXml = "The file is not well-formed XML (%1).";
inline constexpr std::string_view LandXmlNotLandXml = "The file is not a LandXML document: its root element is <%1>.";
inline constexpr std::string_view LandXmlNothingToImport = "The file holds no surface and no coordinate geometry points.";
inline constexpr std::string_view LandXmlNoPoints = "The surface \"%1\" holds no points.";
inline constexpr std::string_view LandXmlOverCapacity =
    "The surface \"%1\" holds %2 points, %3 triangles and %4 breaklines; a model holds at most %5 points, "
    "%6 triangles and %7 breaklines.";
inline constexpr std::string_view LandXmlUnknownUnit = "<%1> names the unknown length unit \"%2\".";
inline constexpr std::string_view LandXmlMissingId = "<%1> has no id.";
inline constexpr std::string_view LandXmlRepeatedId = "%1 repeats the id of line %2.";
inline constexpr std::string_view LandXmlPointNumbers = "%1 needs a northing, an easting and an elevation: \"%2\".";
inline constexpr std::string_view LandXmlBadNumber =
    "%1 holds \"%2\", which is not a usable coordinate (a finite number of at most %3).";
inline constexpr std::string_view LandXmlListNumbers = "<%1> holds %2 numbers, not %3 for every vertex.";
inline constexpr std::string_view LandXmlFaceCorners = "<F> needs three point ids (four for a grid cell): \"%1\".";
inline constexpr std::string_view LandXmlFaceUnknownPoint = "<F> names the point \"%1\", which the surface does not hold.";
inline constexpr std::string_view LandXmlFaceRepeatedPoint = "<F> names the point \"%1\" twice.";
inline constexpr std::string_view LandXmlFaceNoArea = "<F> has no area: its corners \"%1\", \"%2\" and \"%3\" lie on one line.";
inline constexpr std::string_view LandXmlFaceRepeated = "<F> repeats the face of line %1.";
inline constexpr std::string_view LandXmlEdgeShared =
    "<F> is the third face on the edge between the points \"%1\" and \"%2\" (the others are on lines %3 and %4).";
inline constexpr std::string_view LandXmlFaceFolded =
    "<F> lies over the face of line %1: both are on the same side of their edge between the points \"%2\" and \"%3\".";
inline constexpr std::string_view LandXmlUnsoundFaces = "The faces do not make one sound surface:";
inline constexpr std::string_view LandXmlSurfaceLine = "Surface: ";
inline constexpr std::string_view LandXmlPointsLine = "Points: ";
inline constexpr std::string_view LandXmlTrianglesLine = "Triangles: ";
inline constexpr std::string_view LandXmlInvisibleLine = "Invisible faces left out: ";
inline constexpr std::string_view LandXmlBorderLine = "Border points: ";
inline constexpr std::string_view LandXmlBreaklinesLine = "Breaklines: ";
inline constexpr std::string_view LandXmlUnitsLine = "Units: ";
inline constexpr std::string_view LandXmlUnitNames[] = {"meters", "feet", "US survey feet"};
inline constexpr std::string_view LandXmlNoUnits = "not given; the current units are kept";
inline constexpr std::string_view LandXmlNotHeld = "Not imported, as the model cannot hold it:";
inline constexpr std::string_view LandXmlHolesLine = "Holes (void and island boundaries): ";
inline constexpr std::string_view LandXmlOtherBoundariesLine = "Data and further outer boundaries: ";
inline constexpr std::string_view LandXmlBorderVerticesLine = "Border vertices without a surface point: ";
inline constexpr std::string_view LandXmlBreaklineSegmentsLine = "Breakline segments without surface points: ";
inline constexpr std::string_view LandXmlFlatPointsLine = "Points without an elevation: ";
inline constexpr std::string_view LandXmlChooseSurfaceTitle = "Import LandXML";
inline constexpr std::string_view LandXmlChooseSurfacePrompt = "The file holds several surfaces. Import:";
inline constexpr std::string_view LandXmlSurfaceChoice = "%1 (%2 points, %3 faces)";
inline constexpr std::string_view LandXmlOpenTitle = "Open LandXML File";
inline constexpr std::string_view LandXmlSaveTitle = "Save LandXML File";
inline constexpr std::string_view LandXmlFilter = "LandXML (*.XML)|*.XML";
inline constexpr std::string_view LandXmlExportCaption = "Export LandXML";
inline constexpr std::string_view LandXmlSaved = "Surface saved as LandXML: %1 points, %2 triangles, %3 border points, %4 breaklines.";
inline constexpr std::string_view LandXmlUnnamedSurface = "Surface";
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
inline constexpr std::string_view PointsInOneLine =
    "All points lie on one straight line.\r\nA surface needs at least 3 points that are not in line.";
inline constexpr std::string_view InsufficientPointCapacityForTriangulation =
    "Insufficient point capacity for triangulation.";
inline constexpr std::string_view ConvexBorderWillBeCreated =
    "WARNING - Current border is invalid, convex border will be created.";
// After NoBorderDefined, when a model without any border is triangulated.
inline constexpr std::string_view ConvexBorderAroundAllPoints = "A convex border around all points will be created.";
inline constexpr std::string_view TriangulatingData = "Triangulating Data";
inline constexpr std::string_view TriangulationComplete = "Triangulation complete!";
inline constexpr std::string_view TriangulationDuplicatePoints =
    "Duplicate points detected:\r\nUse the Verify command in the Coordinate Editor to verify your data.";
// "Points 12 and 57 are at the same place (less than 0.001 apart):", then a line for each.
inline constexpr std::string_view SamePlacePairPrefix = "Points ";
inline constexpr std::string_view SamePlacePairSuffix = " are at the same place (less than 0.001 apart):";
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

// Coordinate tools: listings, the range dialog, factor/translate/rotate, search, the text editor
// and Auto Process.
inline constexpr std::string_view UnableToListPoints = "Unable to list points.";
inline constexpr std::string_view UnableToListBorderPoints = "Unable to list border points.";
inline constexpr std::string_view UnableToListBreaklines = "Unable to list breaklines.";
inline constexpr std::string_view PointListingRange = "  Listing of data point #";
inline constexpr std::string_view BreaklineListingRange = "  Listing of breakline #";
inline constexpr std::string_view ListingRangeThrough = " through #";
inline constexpr std::string_view PointListingColumnsXY =
    "     Number  Label           X              Y              Z";
inline constexpr std::string_view PointListingColumnsYX =
    "     Number  Label           Y              X              Z";
inline constexpr std::string_view BreaklineListingHeadXY =
    "Breakline          Beginning                               Ending";
inline constexpr std::string_view BreaklineListingColumnsXY =
    " Number   Point         X              Y      Point          X              Y";
inline constexpr std::string_view BreaklineListingColumnsYX =
    " Number   Point         Y              X      Point          Y              X";
inline constexpr std::string_view PrintPointListCaption = "Print Point List";
inline constexpr std::string_view PrintBreaklineListCaption = "Print Breakline List";
inline constexpr std::string_view DefineBorderPointsCaption = "Define Border Points";
inline constexpr std::string_view DefineBreaklinesCaption = "Define Breaklines";
inline constexpr std::string_view FirstPointLabel = "First point >";
inline constexpr std::string_view LastPointLabel = "Last point >";
inline constexpr std::string_view FirstBreaklineLabel = "First breakline >";
inline constexpr std::string_view LastBreaklineLabel = "Last breakline >";
inline constexpr std::string_view StartPointLabel = "Start point >";
inline constexpr std::string_view EndPointLabel = "End point >";
inline constexpr std::string_view FirstPointAfterLast = "The first point must be less than or equal to the last point.";
inline constexpr std::string_view FirstBreaklineAfterLast =
    "The first breakline must be less than or equal to the last breakline.";
inline constexpr std::string_view StartPointAfterEnd = "The start point must be less than or equal to the end point.";
inline constexpr std::string_view FactorPointsCaption = "Factor Points";
inline constexpr std::string_view TranslatePointsCaption = "Translate Points";
inline constexpr std::string_view RotatePointsCaption = "Rotate Points";
inline constexpr std::string_view FactorForX = "Factor for X value >";
inline constexpr std::string_view FactorForY = "Factor for Y value >";
inline constexpr std::string_view FactorForNorthing = "Factor for Northing value >";
inline constexpr std::string_view FactorForEasting = "Factor for Easting value >";
inline constexpr std::string_view FactorForElevation = "Factor for elevation >";
inline constexpr std::string_view OffsetForX = "Offset for X value >";
inline constexpr std::string_view OffsetForY = "Offset for Y value >";
inline constexpr std::string_view OffsetForNorthing = "Offset for Northing value >";
inline constexpr std::string_view OffsetForEasting = "Offset for Easting value >";
inline constexpr std::string_view OffsetForElevation = "Offset for elevation >";
inline constexpr std::string_view RotateCenterX = "Rotate center X >";
inline constexpr std::string_view RotateCenterY = "Rotate center Y >";
inline constexpr std::string_view RotateCenterNorthing = "Rotate center Northing >";
inline constexpr std::string_view RotateCenterEasting = "Rotate center Easting >";
inline constexpr std::string_view RotationAngleLabel = "Rotation angle >";
inline constexpr std::string_view RotationAngleHint = "Enter the rotation angle in decimal degrees";
inline constexpr std::string_view PlanFactorZero = "A factor of 0 for X or Y would put every point on one line.";
inline constexpr std::string_view TransformNotANumber = "Every value must be a finite number.";
inline constexpr std::string_view TransformOutOfLimits =
    "The transformed coordinates would exceed the coordinate limits (999,999,999.999).\r\nNo points were changed.";
inline constexpr std::string_view TransformSurfaceRebuilt =
    "The transformation turned some triangles over; the surface was triangulated again.";
inline constexpr std::string_view LabelNotFound = "That label could not be found.";
inline constexpr std::string_view ExactMatchNotFound = "An exact match was not found.";
inline constexpr std::string_view SearchNotAvailable = "N/A";
inline constexpr std::string_view TextEditorCaption = "Coordinate Editor";
inline constexpr std::string_view TooFewPointsForModel =
    "Must have 3 or more points to make a surface model.\r\nPoint count has been reset to zero.";
inline constexpr std::string_view PointCapacityCannotAdd = "Point capacity has been reached. This point can not be added.";
inline constexpr std::string_view DeleteBorderPointQuestion =
    "WARNING - The current point is a part of the border.\r\nDelete border point ?";
inline constexpr std::string_view ErasePointsAnyway =
    "WARNING - The current file has not been saved.\r\nErase points anyway?";
inline constexpr std::string_view JumpToPointTitle = "Jump To Point";
inline constexpr std::string_view JumpToPointPrompt = "Jump to point number?";
inline constexpr std::string_view EditorFileNamePrefix = "File Name: ";
inline constexpr std::string_view EditorNoDataLoaded = "(No data loaded)";
inline constexpr std::string_view EditorUnmodified = " (unmodified)";
inline constexpr std::string_view EditorCommentPrefix = "Field Comment: ";
inline constexpr std::string_view EditorNoComment = "(None specified)";
inline constexpr std::string_view EditorTotalPoints = "  Total Points: ";
inline constexpr std::string_view EditorAvailablePoints = "  Available Points: ";
inline constexpr std::string_view EditorTriangulationDropped =
    "Points were moved so that some triangles turned over.\r\nThe triangulation has been discarded; "
    "triangulate the points again.";
inline constexpr std::string_view AutoProcessCaption = "Automatic Processing";
inline constexpr std::string_view CoordinateFileMissing =
    "The coordinate file does not exist.\r\nCoordinate data can not be loaded.\r\nAuto process stopped.";
inline constexpr std::string_view BorderFileMissing = "The border file does not exist.\r\nBorder data can not be loaded.";
inline constexpr std::string_view BreaklineFileMissing =
    "The breakline file does not exist.\r\nBreakline data can not be loaded.";
inline constexpr std::string_view VerificationFailedStop = "Verification of points failed. Auto process stopped.";
inline constexpr std::string_view BorderErrorStop = "Error with border. Auto process stopped.";
inline constexpr std::string_view NoPointsLoadedStop = "No points were loaded. Auto process stopped.";

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

// Asked before a contour or draped grid run that would make too many segments.
inline constexpr std::string_view LargeRunContourPrefix = "The contour interval ";
inline constexpr std::string_view LargeRunGridPrefix = "The grid interval ";
inline constexpr std::string_view LargeRunMakes = " makes ";
inline constexpr std::string_view LargeRunMoreThan = " line segments, more than the ";
inline constexpr std::string_view LargeRunQuestion =
    " a map is drawn with in reasonable time and size.\r\nDraw them anyway?";

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
inline constexpr std::string_view PrintSetupCaption = "Print Setup";
inline constexpr std::string_view PrintSetupNote =
    "The sheet on the screen, the printout and a PDF file are laid out on this paper.";
inline constexpr std::string_view Portrait = "Portrait";
inline constexpr std::string_view Landscape = "Landscape";
inline constexpr std::string_view ScaleSuffixFeet = " (feet/inch)";
inline constexpr std::string_view ScaleSuffixMetres = " (m/cm)";
inline constexpr std::string_view NotApplicable = "N/A";
inline constexpr std::string_view Printing = "Printing...";
inline constexpr std::string_view PrintingComplete = "Printing complete!";
inline constexpr std::string_view PrintingFailed = "The map could not be printed.";
inline constexpr std::string_view ReportPrintingFailed = "The report could not be printed.";
inline constexpr std::string_view PdfPrinterName = "PDF file";

// Contours, surface grid and the sheet furniture.
inline constexpr std::string_view ContourMemoryNotAllocated = "Error allocating contour/surface grid memory.";
inline constexpr std::string_view ContourMemoryNotFreed = "Error freeing contour/surface grid memory.";
inline constexpr std::string_view ContourLabelMemoryNotAllocated = "Error allocating contour label memory.";
inline constexpr std::string_view ContourLabelMemoryNotFreed = "Error freeing contour label memory.";
inline constexpr std::string_view ContourGapMemoryNotAllocated = "Error allocating contour memory.";
inline constexpr std::string_view ContourGapMemoryNotFreed = "Error freeing contour memory.";
inline constexpr std::string_view TitleCaptionDesignedBy = "Designed By";
inline constexpr std::string_view TitleCaptionClient = "Client";
inline constexpr std::string_view TitleCaptionLocation = "Location";
inline constexpr std::string_view TitleCaptionDate = "Date";
inline constexpr std::string_view TitleCaptionComments = "Comments";
inline constexpr std::string_view TitleScalePrefix = "Scale: ";
inline constexpr std::string_view TitleScaleIn3D = "Scale: N/A in 3-D";
inline constexpr std::string_view TitleScaleFeet = "ft/in";
inline constexpr std::string_view TitleScaleMetres = "m/cm";
inline constexpr std::string_view TitleFileNamePrefix = "File Name: ";
inline constexpr std::string_view TitleFileCommentPrefix = "File Comment: ";
inline constexpr std::string_view ScaleBarOrigin = "0.0";

// Main window: active commands, status lines, cursor, jump, zoom, editors and the About window.
inline constexpr std::string_view StatusNewBorder = " Active Command: New Border (click = Add : [shift]click = Delete) - ";
inline constexpr std::string_view StatusLength = " Active Command: Length (click = Add : [shift]click = Delete) - ";
inline constexpr std::string_view StatusNewBreakline =
    " Active Command: New Breakline (click = Add : [shift]click = Delete) - ";
inline constexpr std::string_view StatusSwap = " Active Command: Swap (click = Swap : [shift]click = Delete)";
inline constexpr std::string_view StatusAnimate = " Active Command: Animate (Press ESC to stop)";
inline constexpr std::string_view StatusQueryTriangle =
    " Active Command: Query Triangle (click = Add : [shift]click = Delete) - ";
inline constexpr std::string_view ErrorInitializingNewBorder =
    "Error initializing 'New Border' command.\r\nNew Border command can not be used.";
inline constexpr std::string_view AbortNewBorder =
    "The new border is not closed.\r\nDo you wish to abort the 'New Border' command?";
inline constexpr std::string_view SwapNoTriangles = "Swap command can not be performed.\r\nNo triangles exist.";
inline constexpr std::string_view NoTrianglesToSwap = "No triangles exist to swap.";
inline constexpr std::string_view NoRoomForSwapBreakline = "Insufficient memory for adding new breaklines.";
inline constexpr std::string_view SwapTriangleNotFound = "Unable to determine correct triangle.";
inline constexpr std::string_view NoAdjacentTriangle = "No adjacent triangle to swap.";
inline constexpr std::string_view BreaklineAlreadyThere = "A breakline already exists at this location.";
inline constexpr std::string_view UnableToSwap = "Unable to swap triangles.";
inline constexpr std::string_view ErrorInitializingLength =
    "Error initializing 'Length' command.\r\nLength command can not be used.";
inline constexpr std::string_view ErrorInitializingQueryTriangle =
    "Error initializing 'Query Triangle' command.\r\nQuery Triangle command can not be used.";
inline constexpr std::string_view AbortLength =
    "At least two points must be selected to calculate information.\r\nDo you wish to abort the 'Length' command?";
inline constexpr std::string_view AbortQueryTriangle =
    "At least one triangle must be selected to calculate information.\r\n"
    "Do you wish to abort the 'Query Triangle' command?";
inline constexpr std::string_view LengthCapacityReached = "Length command point capacity has been reached.";
inline constexpr std::string_view QueryTriangleCapacityReached = "Query Triangle command capacity has been reached.";
inline constexpr std::string_view UnableToAnimate = "Unable to animate image while performing another command.";
inline constexpr std::string_view MouseLineEmpty = "Mouse:";
inline constexpr std::string_view MouseLinePrefix = "Mouse:  ";
inline constexpr std::string_view TargetLinePrefix = "Target:  ";
inline constexpr std::string_view CursorLineEmpty = "Cursor:";
inline constexpr std::string_view CursorLinePrefix = "Cursor:  ";
inline constexpr std::string_view LineX = "X = ";
inline constexpr std::string_view LineY = "  Y = ";
inline constexpr std::string_view LineZ = "  Z = ";
inline constexpr std::string_view LineNorthing = "Northing = ";
inline constexpr std::string_view LineEasting = "  Easting = ";
inline constexpr std::string_view LineElevation = "  Elevation = ";
inline constexpr std::string_view LineNearestPoint = "  Nearest point = #";
inline constexpr std::string_view PrinterLinePrefix = "Printer = ";
inline constexpr std::string_view PrinterLinePaper = " Paper Size = ";
inline constexpr std::string_view PrinterLineLandscape = "(Landscape)";
inline constexpr std::string_view PrinterLinePortrait = "(Portrait)";
inline constexpr std::string_view PrinterLineScale = ": Scale = ";
inline constexpr std::string_view ErrorWithCursorStep = "Error with cursor step value. Cursor step unchanged.";
inline constexpr std::string_view XPositionLabel = "X Position >";
inline constexpr std::string_view YPositionLabel = "Y Position >";
inline constexpr std::string_view NorthingPositionLabel = "Northing Position >";
inline constexpr std::string_view EastingPositionLabel = "Easting Position >";
inline constexpr std::string_view ErrorWithPointNumber = "Error with point number value";
inline constexpr std::string_view JumpPointNumberLabel = "Point number >";
inline constexpr std::string_view PointLabelNotFound = "The desired point label was not found.";
inline constexpr std::string_view ZoomFactorLabel = "Zoom Factor >";
inline constexpr std::string_view ZoomConstantLabel = "Zoom Constant >";
inline constexpr std::string_view QuickZoomLevelLabel = "Quick Zoom Level >";
inline constexpr std::string_view CommentTitle = "Edit Field Comment";
inline constexpr std::string_view CommentPrompt = "Enter comment";
inline constexpr std::string_view NoBreaklinesExist = "No breaklines exist.";
inline constexpr std::string_view NoBreaklinesDefined = "No breaklines defined for this data.";
inline constexpr std::string_view JumpToBreaklineTitle = "Jump To Breakline";
inline constexpr std::string_view BreaklineNumberPrompt = "Breakline number >";
inline constexpr std::string_view ErrorWithBreaklineNumber = "Error with breakline number value";
inline constexpr std::string_view FileCouldNotBeSaved = "The file could not be saved.";
inline constexpr std::string_view SaveAsTitlePrefix = "Save ";
inline constexpr std::string_view SaveAsTitleSuffix = " as";
inline constexpr std::string_view ChangeCompany = "Change Company/Address";
inline constexpr std::string_view CompanyCaption = "Set Company Information";
inline constexpr std::string_view CompanyLabel = "Company >";
inline constexpr std::string_view CompanyLocationLabel = "City, State/Province, Country >";
inline constexpr std::string_view CompanyNote = "This information is only used as header information on printouts.";
inline constexpr std::string_view EditorBarHint =
    "Lists all commands available in each editor. Right click to change the background color.";
inline constexpr std::string_view SelectBackgroundColour = "Select background color";
inline constexpr std::string_view EditorBarColourCaption = "Editor Bar";

// CAD output: layers, the DXF and batch writers, Output To CAD.
inline constexpr std::string_view CadDxfFilter = "AutoCAD DXF Files (*.DXF)|*.DXF";
inline constexpr std::string_view CadMcrFilter = "Generic CADD Batch Files (*.MCR)|*.MCR";
inline constexpr std::string_view CadGxmFilter = "General CADD Macro Files (*.GXM)|*.GXM";
inline constexpr std::string_view CadSaveTitle = "Save as";
inline constexpr std::string_view ElevationFactorTitle = "Elevation Factor";
inline constexpr std::string_view ElevationFactorPrompt = "Elevation factor";
inline constexpr std::string_view CreatingCadFile = "Creating CAD file...";
inline constexpr std::string_view CadFileComplete = "CAD file complete!";
inline constexpr std::string_view DxfCreateError = "DXF output will be turned off.\r\nError creating file.";
inline constexpr std::string_view BatchCreateError = "Batch file output will be turned off.\r\nError creating file.";
inline constexpr std::string_view CadWriteError = "The CAD file could not be written.";
inline constexpr std::string_view CadDirectoryTooLong =
    "The CAD data directory is too long to be kept; the previous one is kept.";
inline constexpr std::string_view CadLayersCaption = "Set CAD Layer Information";
inline constexpr std::string_view CadLayerNamesPanel = "Edit The Layer Names And Colors";
inline constexpr std::string_view CadLayerNumbersPanel = "Edit The Layer Numbers And Colors";
inline constexpr std::string_view CadLayerNameHeading = "Name";
inline constexpr std::string_view CadLayerColourHeading = "Color";
inline constexpr std::string_view CadLayerNumberHeading = "Number";
inline constexpr std::string_view CadLayerRangeError = "Layer table entry out of range";
inline constexpr std::string_view CadDataDirCaption = "Set Default CAD Data Directory";
// The CAD page of the preferences: its layer button names the page's mode.
inline constexpr std::string_view CadLayerNamesButton = "Set Layer Names && Colors...";
inline constexpr std::string_view CadLayerNumbersButton = "Set Layer Numbers && Colors...";
inline constexpr std::string_view CadDataDirButton = "Set Default DXF File Data Directory...";


// Preferences.
inline constexpr std::string_view PreferencesCaption = "Preferences";
inline constexpr std::string_view NewScaleTitle = "New Scale";
inline constexpr std::string_view EditScaleTitle = "Edit Scale";
inline constexpr std::string_view ScalePrompt = "Scale >";
inline constexpr std::string_view InvalidScale = "Invalid Scale";
inline constexpr std::string_view EditPresetHeightTitle = "Edit Text/Point Marker Height";
inline constexpr std::string_view HeightPrompt = "Height >";
inline constexpr std::string_view InvalidHeight = "Invalid Height";
inline constexpr std::string_view UnitsChangeResetsScale = "Changing the units requires resetting the default scale.";
inline constexpr std::string_view PresetScaleFeet = "Scale: ft/in";
inline constexpr std::string_view PresetHeightFeet = "Height: ft";
inline constexpr std::string_view PresetScaleMetres = "Scale: m/cm";
inline constexpr std::string_view PresetHeightMetres = "Height: m";
// The rows of the preset grid: the map option, then the kind of size.
inline constexpr std::string_view PresetRowOption[] = {"Breakline Numbers", "Surface Grid", "Contour Lines",
                                                       "Point Map", "", "Miscellaneous", "Titles", ""};
inline constexpr std::string_view PresetRowKind[] = {"Text Height", "Text Height", "Text Height",
                                                     "Marker Height", "Text Height", "Scale Bar Text Height",
                                                     "Title Text Height", "Misc. Text Height"};

// Import and export dialogs and commands.
inline constexpr std::string_view AddToCurrentFile = "Add to current file?";
inline constexpr std::string_view LoadNewBorder = "WARNING - The current file has been bordered.\r\nLoad new border?";
inline constexpr std::string_view LoadNewBreaklines =
    "WARNING - The current file contains breaklines.\r\nLoad new breaklines?";
inline constexpr std::string_view ImportCaptions[] = {"Import Coordinates", "Import Border", "Import Breaklines"};
inline constexpr std::string_view ExportCaptions[] = {"Export Coordinates", "Export Border", "Export Breaklines"};
inline constexpr std::string_view NoFileSpecified = "No file specified.";
inline constexpr std::string_view NoExportFileChosen = "No file specified.\r\nChoose a file name before exporting.";
inline constexpr std::string_view OpenFileTitles[] = {"Open Coordinate File", "Open Border File", "Open Breakline File"};
inline constexpr std::string_view SaveFileTitles[] = {"Save Coordinate File", "Save Border File", "Save Breakline File"};
inline constexpr std::string_view AsciiFilters[] = {"Coordinates (*.ASC,*.TXT)|*.ASC;*.TXT", "Border (*.BDR)|*.BDR",
                                                    "Breaklines (*.BRK,*.BKL)|*.BRK;*.BKL"};
inline constexpr std::string_view AllFilesFilter = "All Files (*.*)|*.*";
inline constexpr std::string_view ImportLegendCoordinates =
    "The following letters must be arranged to match the format of the input file.\r\n"
    "If the file contains point numbers, specify Point Label for that position.\r\n"
    "         L  =  Point Label (Point #)\r\n"
    "         X  =  X (Easting)\r\n"
    "         Y  =  Y (Northing)\r\n"
    "         Z  =  Z (Elevation)\r\n"
    "         D  =  Dummy Number\r\n"
    "         N  =  Goto Next Line\r\n"
    "Example: If the data in the file is arranged as point number, Northing,\r\n"
    "Easting, and then the Elevation, with one point on each line, enter\r\n"
    "\"L Y X ZN\" as the custom format.";
inline constexpr std::string_view ImportLegendVertices =
    "The following letters must be arranged to match the format of the input file.\r\n"
    "         A  =  Coordinate Order X-Y (Easting-Northing)\r\n"
    "         B  =  Coordinate Order Y-X (Northing-Easting)\r\n"
    "         P  =  Point Number (#)\r\n"
    "         D  =  Dummy Number\r\n"
    "         N  =  Goto Next Line";
inline constexpr std::string_view ExportLegendCoordinates =
    "The following letters must be arranged to match the format of the desired output file.\r\n"
    "Use spaces and/or commas to seperate each letter.\r\n\r\n"
    "         P  =  Point Number\r\n"
    "         L  =  Point Label\r\n"
    "         X  =  X (Easting)\r\n"
    "         Y  =  Y (Northing)\r\n"
    "         Z  =  Z (Elevation)\r\n"
    "         G  =  Dummy Number\r\n"
    "         N  =  Goto Next Line\r\n\r\n"
    "Example: If the data in the file is to be arranged as point number, Northing, Easting,\r\n"
    "Elevation, with a space between each number and one point on each line,\r\n"
    "enter \"P  Y  X  ZN\" as the custom format.";
inline constexpr std::string_view ExportLegendVertices =
    "The following letters must be arranged to match the format of the desired output file.\r\n"
    "Use spaces and/or commas to seperate each letter.\r\n\r\n"
    "         A  =  Coordinate Order X-Y (Easting-Northing)\r\n"
    "         B  =  Coordinate Order Y-X (Northing-Easting)\r\n"
    "         C  =  Coordinate Order X-Y-Z (Easting-Northing-Elevation)\r\n"
    "         D  =  Coordinate Order Y-X-Z (Northing-Easting-Elevation)\r\n"
    "         P  =  Point Number (#)\r\n"
    "         G  =  Dummy Number\r\n"
    "         N  =  Goto Next Line";
inline constexpr std::string_view ExportCustomHint = "Enter the arrangement of the data in the file (i.e. L Y X ZN)";

// The 3-D view: its options dialog, movement types and field messages.
inline constexpr std::string_view Set3DOptionsCaption = "Set 3D Options";
inline constexpr std::string_view XViewPointLabel = "X View Point >";
inline constexpr std::string_view YViewPointLabel = "Y View Point >";
inline constexpr std::string_view NorthingViewPointLabel = "Northing View Point >";
inline constexpr std::string_view EastingViewPointLabel = "Easting View Point >";
inline constexpr std::string_view TargetXLabel = "Target X >";
inline constexpr std::string_view TargetYLabel = "Target Y >";
inline constexpr std::string_view TargetNorthingLabel = "Target Northing >";
inline constexpr std::string_view TargetEastingLabel = "Target Easting >";
inline constexpr std::string_view StepUnitDegrees = "Degrees >";
inline constexpr std::string_view StepUnitFeet = "Feet >";
inline constexpr std::string_view StepUnitMeters = "Meters >";
inline constexpr std::string_view StepUnitUnits = "Units >";
inline constexpr std::string_view MovementRotateHorizontal = "Rotate Horizontal";
inline constexpr std::string_view MovementRotateVertical = "Rotate Vertical";
inline constexpr std::string_view MovementLinearX = "Linear X";
inline constexpr std::string_view MovementLinearY = "Linear Y";
inline constexpr std::string_view MovementLinearZ = "Linear Z";
inline constexpr std::string_view MovementTargetX = "Target X";
inline constexpr std::string_view MovementTargetY = "Target Y";
inline constexpr std::string_view MovementTargetZ = "Target Z";
inline constexpr std::string_view MovementEyeFactor = "Eye Factor";
inline constexpr std::string_view RangeDegrees = "Range = -360.0 to 360.0";
inline constexpr std::string_view RangeLinearXY = "Range = -50,000 to 50,000";
inline constexpr std::string_view RangeLinearZ = "Range = -25,000 to 25,000";
inline constexpr std::string_view RangeTargetXY = "Range = -25,000 to 25,000";
inline constexpr std::string_view RangeTargetZ = "Range = -5,000 to 5,000";
inline constexpr std::string_view RangeEyeFactor = "Range = -50.0 to 50.0";
inline constexpr std::string_view InvalidViewPoint = "Invalid View Point";
inline constexpr std::string_view InvalidZViewPoint = "Invalid Z View Point";
inline constexpr std::string_view InvalidTargetPoint = "Invalid Target Point";
inline constexpr std::string_view InvalidZTargetPoint = "Invalid Z Target Point";
inline constexpr std::string_view InvalidElevationFactor = "Invalid Elevation Factor";
inline constexpr std::string_view InvalidEyeFactor = "Invalid Eye Factor";
inline constexpr std::string_view EyeFactorOutOfRange = "Eye Factor value out of range";
inline constexpr std::string_view EyeFactorLow = "-50.0";
inline constexpr std::string_view EyeFactorHigh = "1.0";
inline constexpr std::string_view InvalidHorizontalRotation = "Invalid horizontal rotation value";
inline constexpr std::string_view InvalidVerticalRotation = "Invalid vertical rotation value";
inline constexpr std::string_view InvalidLinearXY = "Invalid linear X-Y value";
inline constexpr std::string_view InvalidLinearZ = "Invalid linear Z value";
inline constexpr std::string_view InvalidTargetXY = "Invalid target X-Y value";
inline constexpr std::string_view InvalidTargetZ = "Invalid target Z value";
inline constexpr std::string_view InvalidEyeFactorStep = "Invalid eye factor";

// Surface analysis: text output, slope zones and the vector listing.
inline constexpr std::string_view TextOutputCaption = "Surface Analyzer Text Output";
inline constexpr std::string_view DensitySlopeCaption = "Density Diagram (Slope)";
inline constexpr std::string_view OutputTypeSlopeAnalysis = "Slope Analysis";
inline constexpr std::string_view OutputTypeVectorInformation = "Vector Information";
inline constexpr std::string_view InvalidMinimumSlope = "Invalid minimum slope.\r\nSlope zone analysis is turned OFF.";
inline constexpr std::string_view InvalidMaximumSlope = "Invalid maximum slope.\r\nSlope zone analysis is turned OFF.";
inline constexpr std::string_view MinimumSlopeAboveMaximum =
    "Minimum slope is greater than the maximum slope.\r\nSlope zone analysis is turned OFF.";
inline constexpr std::string_view InvalidZoneCount = "Invalid number of zones";
inline constexpr std::string_view UnableToDisplaySurfaceInformation =
    "Unable to display surface information/slope analysis.";
inline constexpr std::string_view UnableToDisplayVectors = "Unable to display vector coordinates.";
inline constexpr std::string_view SurfaceInfoThereAre = " There are ";
inline constexpr std::string_view SurfaceInfoDataPoints = " data points.";
inline constexpr std::string_view SurfaceInfoFieldExtents = " Field Extents";
inline constexpr std::string_view SurfaceInfoMinimumX = "        Minimum X: ";
inline constexpr std::string_view SurfaceInfoMaximumX = "        Maximum X: ";
inline constexpr std::string_view SurfaceInfoMinimumY = "        Minimum Y: ";
inline constexpr std::string_view SurfaceInfoMaximumY = "        Maximum Y: ";
inline constexpr std::string_view SurfaceInfoMinimumZ = "        Minimum Z: ";
inline constexpr std::string_view SurfaceInfoMaximumZ = "        Maximum Z: ";
inline constexpr std::string_view SurfaceInfoSimpleAverage = " Elevation (Simple Average) : ";
inline constexpr std::string_view SurfaceInfoTriangleAverage = " Triangle Average Elevation : ";
inline constexpr std::string_view SurfaceInfoSurfaceMean = "     Surface Mean Elevation : ";
inline constexpr std::string_view SurfaceInfoArea2DMetres = " Total 2-D area (square meters) > ";
inline constexpr std::string_view SurfaceInfoArea3DMetres = " Total 3-D area (square meters) > ";
inline constexpr std::string_view SurfaceInfoHectares = "                     (hectares) > ";
inline constexpr std::string_view SurfaceInfoArea2DFeet = " Total 2-D area (square feet) > ";
inline constexpr std::string_view SurfaceInfoArea3DFeet = " Total 3-D area (square feet) > ";
inline constexpr std::string_view SurfaceInfoSquareYards = "               (square yards) > ";
inline constexpr std::string_view SurfaceInfoAcres = "                      (acres) > ";
inline constexpr std::string_view SlopeAnalysisTitle = " Slope Analysis";
// Slopes of triangles are sines, not grades: say so where they are listed.
inline constexpr std::string_view SlopeSineNote = "   (slope % = 100 x sine of the inclination: 45 degrees reads 70.711 %)";
inline constexpr std::string_view SlopeMinimum = "   Minimum slope : ";
inline constexpr std::string_view SlopeMaximum = "   Maximum slope : ";
inline constexpr std::string_view SlopeAverage = "   Average slope : ";
inline constexpr std::string_view PercentSuffix = " %";
inline constexpr std::string_view SlopeZoneColumns =
    "     Zone Range           2-D Area    %             3-D Area    %";
inline constexpr std::string_view SlopeZoneRule =
    " ------------------------------------------------------------------";
inline constexpr std::string_view SlopeZoneBelow = " < ";
inline constexpr std::string_view SlopeZoneFrom = " =>";
inline constexpr std::string_view TotalVertices = "Total Vertices = ";
inline constexpr std::string_view TotalVectors = "Total Vectors  = ";
inline constexpr std::string_view ClosedHeadNote = "An * after the elevation indicates a closed headed vector.";
inline constexpr std::string_view VectorColumnsXY =
    " Number                X                    Y                    Z";
inline constexpr std::string_view VectorColumnsYX =
    " Number                Y                    X                    Z";

// Surface analysis: traces, diagrams and the commands at the cursor.
inline constexpr std::string_view InsufficientMemoryForFlowPath = "Insufficient memory for flow path diagram.";
inline constexpr std::string_view ErrorInPivoting = "!{}Error in pivoting.";
inline constexpr std::string_view MaximumVectorsReached =
    "The maximum number of vectors has been reached.\r\nPlease reset the vector accumulator.";
// A diagram or trace that would run on past any sensible picture stops with this.
inline constexpr std::string_view TraceCappedPrefix = "The surface analysis stopped after ";
inline constexpr std::string_view TraceCappedSuffix =
    " segments.\r\nThe picture is incomplete: draw fewer diagrams or use larger grid spacings.";
inline constexpr std::string_view ArrowsCappedPrefix = "The down slope diagram stopped after ";
inline constexpr std::string_view ArrowsCappedSuffix = " arrows.\r\nUse a larger grid spacing.";
inline constexpr std::string_view JumpToElevationTitle = "Jump to Elevation";
inline constexpr std::string_view EnterElevationPrompt = "Enter elevation";
inline constexpr std::string_view UnableToLocateTriangle = "Unable to locate current triangle.";
inline constexpr std::string_view ElevationNotInTriangle = "Desired elevation is not within this triangle.";
inline constexpr std::string_view NoVectors = "There are no vectors.";
inline constexpr std::string_view TotalVertexes = "Total vertexes = ";
inline constexpr std::string_view TotalVectorsQuestion = "Total vectors = ";
inline constexpr std::string_view ResetVectorAccumulator = "Reset vector accumulator?";

// Length, Query Triangle and the breakline query.
inline constexpr std::string_view LengthCaption = "Length Information";
inline constexpr std::string_view TotalPoints = "Total points: ";
inline constexpr std::string_view SlopeDistance = "Slope distance:";
inline constexpr std::string_view HorizontalDistance = "Horiz. distance:";
inline constexpr std::string_view VerticalDistance = "Vert. distance:";
inline constexpr std::string_view Highest = "Highest:";
inline constexpr std::string_view Lowest = "Lowest:";
inline constexpr std::string_view Difference = "Difference:";
inline constexpr std::string_view DefinedArea = "Defined area:";
inline constexpr std::string_view HectaresCaption = "Hectares:";
inline constexpr std::string_view AcresCaption = "Acres:";
inline constexpr std::string_view Slope3D = "3-D slope (%):";
inline constexpr std::string_view AngleFromNorth = "Angle from North:";
inline constexpr std::string_view AngleFromEast = "Angle from East:";
inline constexpr std::string_view IncludedAngle = "Included angle:";
inline constexpr std::string_view GradeNote = "Slope % = 100 x rise / run (grade)";
inline constexpr std::string_view SineSlopeNote = "Slope % = 100 x sine of the inclination";
inline constexpr std::string_view QueryTriangleCaption = "Query Triangle Information";
inline constexpr std::string_view TotalTriangles = "Total triangles: ";
inline constexpr std::string_view SlopeCaption = "Slope:";
inline constexpr std::string_view Area2DCaption = "2-D area:";
inline constexpr std::string_view Area3DCaption = "3-D area:";
inline constexpr std::string_view AverageSlopeCaption = "Average slope:";
inline constexpr std::string_view MinimumSlopeCaption = "Minimum slope:";
inline constexpr std::string_view MaximumSlopeCaption = "Maximum slope:";
inline constexpr std::string_view BreaklineQueryCaption = "Breakline Information";
inline constexpr std::string_view BreaklineNumber = "Breakline number: ";
inline constexpr std::string_view PointNumberPrefix = "Point #";
inline constexpr std::string_view ColumnX = "   X";
inline constexpr std::string_view ColumnY = "   Y";
inline constexpr std::string_view ColumnZ = "   Z";
inline constexpr std::string_view ColumnNorthing = "Northing";
inline constexpr std::string_view ColumnEasting = "Easting";
inline constexpr std::string_view ColumnElevation = "Elevation";

// The cut/fill map.
inline constexpr std::string_view CutFillLegendTitle = "Cut (-) / Fill (+)";
inline constexpr std::string_view CutFillLegendTo = " to ";
inline constexpr std::string_view LargestCut = "Max cut ";
inline constexpr std::string_view LargestFill = "Max fill ";

// Point editing on the surface.
inline constexpr std::string_view CaptionAddPoint = "Add Point";
inline constexpr std::string_view CaptionDeletePoint = "Delete Point";
inline constexpr std::string_view CaptionEditPoint = "Edit Point";
inline constexpr std::string_view CaptionUndeletePoint = "Undelete Point";
inline constexpr std::string_view FileAtPointCapacity = "The file is at point capacity.";
inline constexpr std::string_view FileAtTriangleCapacity = "The file is at triangle capacity.";
inline constexpr std::string_view NothingToUndelete = "There are no points to undelete.";
inline constexpr std::string_view DuplicatePointNotAdded = "Duplicate point: It can not be added.";
inline constexpr std::string_view DuplicatePointNotMoved = "Duplicate point: It can not be moved to that location.";
inline constexpr std::string_view PointOutsideBorder =
    "WARNING - The point is not within the border of the field.\r\nAdd the point anyway?\r\n\r\n"
    "Note: If the point is added, the border will need to be changed.";
inline constexpr std::string_view PointOutsideExtremes =
    "WARNING - The point is not within the extremes of the field.\r\nAdd the point anyway?\r\n\r\n"
    "Note: If the point is added, the scale will be reset.";
inline constexpr std::string_view InsufficientPointsForOption = "Insufficient points for this option.";
inline constexpr std::string_view BorderPointNullifyTriangulation =
    "[WARNING] - The selected point is a border point and can not be deleted while the surface is "
    "triangulated. Nullify the triangulation ? ";
inline constexpr std::string_view BorderChangedVerify =
    "Deleting this point causes the border to be changed. The border should be verified prior to "
    "re-triangulating.";
inline constexpr std::string_view CannotDeletePoint = "Cannot delete this point.";
inline constexpr std::string_view CannotEditBorderPosition =
    "Can not edit a border point's Northing (Y) or Easting (X) coordinates.";
inline constexpr std::string_view PointOnBorderX = "The point X=";
inline constexpr std::string_view PointOnBorderY = "The point Y=";
inline constexpr std::string_view PointOnBorderTail =
    " lies on the border. It will be inserted into the border to ensure proper triangulation.";
inline constexpr std::string_view BreaklinesNotReforced = "Breaklines that could not be kept as edges: ";
inline constexpr std::string_view InvalidNorthing = "Invalid Northing coordinate.";
inline constexpr std::string_view InvalidEasting = "Invalid Easting coordinate.";
inline constexpr std::string_view InvalidElevation = "Invalid elevation coordinate.";

// Point verification and removal.
inline constexpr std::string_view UnableToVerifyPoints = "Unable to verify points.";
inline constexpr std::string_view InsufficientMemoryForVerification = "Insufficient memory for complete verification.";
inline constexpr std::string_view VerifyToleranceCaption = " Duplicate Point Tolerance";
inline constexpr std::string_view VerifyDuplicatePairsWarning =
    " WARNING - The following pairs of points have the same coordinates.";
inline constexpr std::string_view VerifyColumnsXY = "   Number   Label            X              Y              Z";
inline constexpr std::string_view VerifyColumnsYX = "   Number   Label            Y              X              Z";
inline constexpr std::string_view VerifyPairHeaderXY = "      Number   Label         X           Y           Z";
inline constexpr std::string_view VerifyPairHeaderYX = "      Number   Label         Y           X           Z";
inline constexpr std::string_view VerifyTotalPairs = " Total pairs of duplicate points: ";
inline constexpr std::string_view VerifyNoDuplicates = " No duplicate points found.";
inline constexpr std::string_view VerifyTotalCorrected = " Total number of corrected pairs: ";
inline constexpr std::string_view VerifyPointsNearCursor =
    " The following points are within the specified tolerance of the cursor.";
inline constexpr std::string_view VerifyPointsFound = " points were found within the specified tolerance.";
inline constexpr std::string_view VerifyNoPointsFound = " No points were found within the specified tolerance.";
// The Verify dialog's fields: "X", "Y", "Northing" or "Easting" for %1.
inline constexpr std::string_view InvalidVerifyDifference = "Invalid %1 difference.";
inline constexpr std::string_view InvalidVerifyLocation = "Invalid %1 location.";
inline constexpr std::string_view RemoveNoBorder =
    "Border does not exist or\r\nis not properly defined.\r\n\r\nPoints can not be removed.";
inline constexpr std::string_view InsufficientMemoryForRemoving = "Insufficient memory for removing points.";
inline constexpr std::string_view PointsWereRemoved = " points were removed.";
inline constexpr std::string_view NoPointsRemoved = "No points were removed.";

}  // namespace terravue::msg
