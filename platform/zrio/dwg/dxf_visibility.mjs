// The visibility parameters of dynamic blocks, as DXF has them: the
// entities a parameter controls (331), then each state's name (303) and the
// entities it shows (332). An insert of the block's own definition shows
// one state by them (visibility_states.h), where without them it showed
// every state's entities at once.
export function writeVisibilityParameter(o, p) {
  o.group(0, 'BLOCKVISIBILITYPARAMETER');
  o.handle(5, p.handle);
  o.handle(330, p.ownerHandle);
  o.group(100, 'AcDbEvalExpr');
  o.integer(90, 0);
  o.group(100, 'AcDbBlockElement');
  o.text(300, p.name);
  o.group(100, 'AcDbBlockParameter');
  o.integer(280, 1);
  o.group(100, 'AcDbBlock1PtParameter');
  o.point(1010, {x: 0, y: 0, z: 0});
  o.group(100, 'AcDbBlockVisibilityParameter');
  o.integer(281, 1);
  o.text(301, p.name);
  o.text(302, '');
  o.integer(91, 0);
  o.integer(93, p.controlled.length);
  for (const h of p.controlled) o.handle(331, h);
  o.integer(92, p.states.length);
  for (const state of p.states) {
    o.text(303, state.name);
    o.integer(94, state.shown.length);
    for (const h of state.shown) o.handle(332, h);
    o.integer(95, 0);
  }
}
