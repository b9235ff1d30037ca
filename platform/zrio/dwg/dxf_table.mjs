// ACAD_TABLE as DXF has it: the reference to the anonymous block that
// draws the table, then the table's style, direction, rows and columns
// and its cells with their texts.
const kTextCell = 1;
const kBlockCell = 2;

function writeCell(o, c) {
  o.integer(171, c.cellType || kTextCell);
  o.integer(172, c.flagValue || 0);
  o.integer(173, c.mergedValue || 0);
  o.integer(174, c.autoFit || 0);
  o.number(175, c.borderWidth || 0);
  o.number(176, c.borderHeight || 0);
  o.integer(91, c.overrideFlag || 0);
  o.integer(178, c.virtualEdgeFlag || 0);
  o.angle(145, c.rotation);
  o.handle(344, c.fieldObjetId);
  if (c.cellType === kBlockCell) {
    o.handle(340, c.blockTableRecordId);
    o.number(144, c.blockScale || 1);
    o.integer(179, c.blockAttrNum || 0);
    for (const id of c.attrDefineId || []) o.handle(331, id);
    if (c.attrText) o.text(300, c.attrText);
  } else {
    o.mtext(1, c.text);
  }
  if (c.textStyle) o.text(7, c.textStyle);
  if (c.textHeight) o.number(140, c.textHeight);
  if (c.attachmentPoint) o.integer(170, c.attachmentPoint);
  o.integer(289, c.topBorderVisibility === false ? 0 : 1);
  o.integer(285, c.rightBorderVisibility === false ? 0 : 1);
  o.integer(286, c.bottomBorderVisibility === false ? 0 : 1);
  o.integer(288, c.leftBorderVisibility === false ? 0 : 1);
}

// True when LibreDWG gives the table's data: drawings of 2010 and later
// keep a table in objects it does not read, and their tables come empty.
export function hasTableData(e) {
  return Boolean(e.blockRecordHandle) || e.rowCount > 0;
}

// `blockName` is the name of the block record the table points at.
export function writeTable(writer, e, blockName, owner, paper) {
  const o = writer.out;
  writer.common(e, 'ACAD_TABLE', owner, paper);
  o.group(100, 'AcDbBlockReference');
  o.text(2, blockName);
  o.point(10, e.startPoint);
  o.group(100, 'AcDbTable');
  o.integer(280, 0);
  o.handle(342, e.tableStyleId);
  o.handle(343, e.blockRecordHandle);
  o.point(11, e.directionVector || {x: 1, y: 0, z: 0});
  o.integer(90, e.tableValue || 0);
  o.integer(91, e.rowCount || 0);
  o.integer(92, e.columnCount || 0);
  o.integer(93, e.overrideFlag || 0);
  o.integer(94, e.borderColorOverrideFlag || 0);
  o.integer(95, e.borderLineWeightOverrideFlag || 0);
  o.integer(96, e.borderVisibilityOverrideFlag || 0);
  for (const h of e.rowHeightArr || []) o.number(141, h);
  for (const w of e.columnWidthArr || []) o.number(142, w);
  for (const c of e.cells || []) writeCell(o, c);
}
