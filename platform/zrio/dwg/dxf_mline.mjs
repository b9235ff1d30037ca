// Multilines as DXF has them: the MLINE entity with its vertices and the
// parameters of each of its style's lines there, and the MLINESTYLE
// objects it points at, in the ACAD_MLINESTYLE dictionary.

// The style name of a multiline: its style object's, else the one the
// converter gives.
function styleName(writer, e) {
  const style = writer.mlineStyles.get(String(e.styleHandle || '').toUpperCase());
  return (style && style.name) || e.mlineStyle || 'Standard';
}

export function writeMline(writer, e, owner, paper) {
  const o = writer.out;
  const vertices = e.vertices || [];
  const lineCount = e.numberOfLines || (vertices.length ? (vertices[0].lines || []).length : 0);
  writer.common(e, 'MLINE', owner, paper);
  o.group(100, 'AcDbMline');
  o.text(2, styleName(writer, e));
  o.handle(340, e.styleHandle);
  o.number(40, e.scale === undefined ? 1 : e.scale);
  o.integer(70, e.justification || 0);
  o.integer(71, e.flags || 0);
  o.integer(72, vertices.length);
  o.integer(73, lineCount);
  o.point(10, e.startPoint || (vertices.length ? vertices[0].vertex : undefined));
  o.extrusion(e.extrusionDirection);
  for (const v of vertices) {
    o.point(11, v.vertex);
    o.point(12, v.vertexDirection);
    o.point(13, v.miterDirection);
    for (let k = 0; k < lineCount; ++k) {
      const line = (v.lines || [])[k] || {};
      const segments = line.segmentParams || [], fills = line.areaFillParams || [];
      o.integer(74, segments.length);
      for (const p of segments) o.number(41, p);
      o.integer(75, fills.length);
      for (const p of fills) o.number(42, p);
    }
  }
}

// The dictionary that owns the styles, named in the root dictionary, or ''
// when there is none to write.
export function mlineStyleDictionary(styles) {
  return styles.length ? styles[0].ownerHandle || '' : '';
}

// The ACAD_MLINESTYLE dictionary and its styles.
export function writeMlineStyles(writer, dictionary, root, styles) {
  writer.dictionary(dictionary, root, styles.map(style => [style.name, style.handle]));
  for (const style of styles) writeMlineStyle(writer.out, style, dictionary);
}

function writeMlineStyle(o, style, owner) {
  o.group(0, 'MLINESTYLE');
  o.handle(5, style.handle);
  o.handle(330, owner);
  o.group(100, 'AcDbMlineStyle');
  o.text(2, style.name);
  o.integer(70, style.flags || 0);
  o.text(3, style.description);
  o.integer(62, style.fill.colorIndex);
  o.angle(51, style.startAngle);
  o.angle(52, style.endAngle);
  o.integer(71, style.lines.length);
  for (const line of style.lines) {
    o.number(49, line.offset);
    o.integer(62, line.colorIndex);
    o.text(6, line.lineType);
  }
}
