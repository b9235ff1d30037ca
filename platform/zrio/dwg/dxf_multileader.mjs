// MULTILEADER with its context data as DXF has it: the content's scale and
// base, its MTEXT or block content, the plane, each leader with its landing
// point, dogleg and lines, then the multileader's own properties.
const kIdentity = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1];

function flag(value) {
  return value ? 1 : 0;
}

function writeTextContent(o, e) {
  o.mtext(304, e.textContent);
  o.point(11, e.normal || {x: 0, y: 0, z: 1});
  o.handle(340, e.textStyleId);
  o.point(12, e.textAnchor);
  o.point(13, e.textDirection || {x: 1, y: 0, z: 0});
  o.angle(42, e.textRotation);
  o.number(43, e.textWidth);
  o.number(44, 0);
  o.number(45, e.textLineSpacingFactor || 1);
  o.integer(170, e.textLineSpacingStyle || 1);
  o.integer(90, e.textColor);
  o.integer(171, e.textAttachment);
  o.integer(172, e.textFlowDirection || 1);
  o.integer(91, e.textBackgroundColor);
  o.number(141, e.textBackgroundScaleFactor);
  o.integer(92, e.textBackgroundTransparency);
  o.integer(291, flag(e.textBackgroundColorOn));
  o.integer(292, flag(e.textFillOn));
  o.integer(173, e.textColumnType);
  o.integer(293, flag(e.textUseAutoHeight));
  o.number(142, e.textColumnWidth);
  o.number(143, e.textColumnGutterWidth);
  o.integer(294, flag(e.textColumnFlowReversed));
  o.number(144, e.textColumnHeight);
  o.integer(295, flag(e.textUseWordBreak));
}

function writeBlockContent(o, e) {
  const b = e.blockContent || {};
  o.handle(341, b.blockContentId || e.blockContentId);
  o.point(14, b.normal || {x: 0, y: 0, z: 1});
  o.point(15, b.position);
  o.point(16, b.scale || {x: 1, y: 1, z: 1});
  o.angle(46, b.rotation);
  o.integer(93, b.color === undefined ? e.blockContentColor : b.color);
  const matrix = Array.isArray(b.transformationMatrix) && b.transformationMatrix.length === 16 ? b.transformationMatrix : kIdentity;
  for (const m of matrix) o.number(47, m);
}

function writeLeader(o, section) {
  o.group(302, 'LEADER{');
  o.integer(290, flag(section.lastLeaderLinePointSet !== false));
  o.integer(291, flag(section.doglegVectorSet !== false));
  o.point(10, section.lastLeaderLinePoint);
  o.point(11, section.doglegVector || {x: 1, y: 0, z: 0});
  for (const b of section.breaks || []) {
    o.point(12, b.start);
    o.point(13, b.end);
  }
  o.integer(90, section.leaderBranchIndex);
  o.number(40, section.doglegLength);
  for (const line of section.leaderLines || []) {
    o.group(304, 'LEADER_LINE{');
    for (const v of line.vertices || []) o.point(10, v);
    for (const b of line.breaks || []) {
      o.integer(90, b.index);
      o.point(11, b.start);
      o.point(12, b.end);
    }
    o.integer(91, line.leaderLineIndex);
    o.group(305, '}');
  }
  o.group(303, '}');
}

function writeContext(o, e) {
  o.group(300, 'CONTEXT_DATA{');
  o.number(40, e.contentScale || 1);
  o.point(10, e.contentBasePosition);
  o.number(41, e.textHeight);
  o.number(140, e.arrowheadSize);
  o.number(145, e.landingGap);
  o.integer(174, e.textLeftAttachmentType);
  o.integer(175, e.textRightAttachmentType);
  o.integer(176, e.textAlignmentType);
  o.integer(177, e.blockContentConnectionType);
  o.integer(290, flag(e.hasMText));
  if (e.hasMText) writeTextContent(o, e);
  o.integer(296, flag(e.hasBlock));
  if (e.hasBlock) writeBlockContent(o, e);
  o.point(110, e.planeOrigin);
  o.point(111, e.planeXAxisDirection || {x: 1, y: 0, z: 0});
  o.point(112, e.planeYAxisDirection || {x: 0, y: 1, z: 0});
  o.integer(297, flag(e.planeNormalReversed));
  for (const section of e.leaderSections || []) writeLeader(o, section);
  o.group(301, '}');
}

export function writeMultiLeader(writer, e, owner, paper) {
  const o = writer.out;
  writer.common(e, 'MULTILEADER', owner, paper);
  o.group(100, 'AcDbMLeader');
  o.integer(270, e.version || 2);
  writeContext(o, e);
  o.handle(340, e.leaderStyleId);
  o.integer(90, e.propertyOverrideFlag);
  o.integer(170, e.leaderLineType);
  o.integer(91, e.leaderLineColor);
  o.handle(341, e.leaderLineTypeId);
  o.integer(171, e.leaderLineWeight === undefined ? -2 : e.leaderLineWeight);
  o.integer(290, flag(e.landingEnabled));
  o.integer(291, flag(e.doglegEnabled));
  o.number(41, e.doglegLength);
  o.handle(342, e.arrowheadId);
  o.number(42, e.arrowheadSize);
  o.integer(172, e.contentType);
  o.handle(343, e.textStyleId);
  o.integer(173, e.textLeftAttachmentType);
  o.integer(95, e.textRightAttachmentType);
  o.integer(174, e.textAngleType);
  o.integer(175, e.textAlignmentType);
  o.integer(92, e.textColor);
  o.integer(292, flag(e.textFrameEnabled));
  o.handle(344, e.blockContentId);
  o.integer(93, e.blockContentColor);
  o.point(10, e.blockContentScale || {x: 1, y: 1, z: 1});
  o.angle(43, e.blockContentRotation);
  o.integer(176, e.blockContentConnectionType);
  o.integer(293, flag(e.annotativeScaleEnabled));
  for (const a of e.arrowheadOverrides || []) {
    o.integer(94, a.index);
    o.handle(345, a.handle);
  }
  for (const a of e.blockAttributes || []) {
    o.handle(330, a.id);
    o.integer(177, a.index);
    o.number(44, a.width);
    o.text(302, a.text);
  }
  o.integer(294, flag(e.textDirectionNegative));
  o.integer(178, e.textAlignInIPE);
  o.integer(179, e.textAttachmentPoint || 1);
  o.integer(271, e.textAttachmentDirection);
  o.integer(272, e.bottomTextAttachmentDirection || 9);
  o.integer(273, e.topTextAttachmentDirection || 9);
}
