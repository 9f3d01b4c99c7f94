// Fits the window to the page's viewport, by the page's one rule of where it
// stands (Tavrel.room). At its natural size it stays exactly as drawn. Where
// it fits larger, it and the page's bar under it are scaled alike by a
// transform, as large as both fit, and centred, so text is still laid out
// once and drawn sharp; the window layer learns how many device pixels a CSS
// pixel of the window covers, and draws its pictures for that. Where it is
// wider than the viewport, its elements are laid out again one block under
// another: each caption with the boxes it names, and the rest in rows as they
// stand in the window, every element at its own size, in reading order, list
// entries tall enough to tap. Places come from the window's layout data;
// what this file adds to an element's style it takes away again by name.
(function (T) {
  var GAP = 8;     // CSS px between blocks and at the edges of a narrow viewport
  var TARGET = 24; // CSS px: the least height of a list entry on a narrow viewport
  // The last percent of size is not worth losing exact blocks of device
  // pixels for: within it, a whole number of them to a CSS pixel is taken.
  var WHOLE = 0.99;
  var SIDE = 300;  // CSS px: the practice's width beside the window
  var bar = document.getElementById('tavrel-bar');
  var practice = document.getElementById('tavrel-practice');
  var practising = false;
  var mode = 'natural';
  // The style properties this file has set, per element.
  var added = new Map();

  var style = function (el, properties) {
    var names = added.get(el) || [];
    Object.keys(properties).forEach(function (name) {
      el.style.setProperty(name, properties[name]);
      if (names.indexOf(name) < 0) names.push(name);
    });
    added.set(el, names);
  };

  // Takes away what this file set, and puts back a window element's own size.
  var unstyle = function (el, place) {
    (added.get(el) || []).forEach(function (name) { el.style.removeProperty(name); });
    added.delete(el);
    if (!place) return;
    el.style.width = place.w + 'px';
    el.style.height = place.h + 'px';
  };

  // Puts the window back as drawn, where it is not already, and the bar under it.
  var restore = function (layout) {
    if (mode === 'narrow') layout.items.forEach(function (item) { unstyle(item.el, item.place); });
    if (mode !== 'natural') unstyle(layout.root, layout.size);
    unstyle(bar);
    unstyle(practice);
    mode = 'natural';
  };

  // Blocks of elements in reading order: a caption and the boxes it names,
  // or a row of elements that share a band of the window's height.
  var blocks = function (items) {
    var result = [];
    var taken = [];
    var bottom = -1;
    items.forEach(function (item) {
      if (taken.indexOf(item) >= 0) return;
      var named = items.filter(function (box) { return box.caption === item.id; });
      var p = item.place;
      if (named.length) {
        result.push([item].concat(named));
        taken = taken.concat(named);
        bottom = -1;
      } else if (p.y < bottom) {
        result[result.length - 1].push(item);
        bottom = Math.max(bottom, p.y + p.h);
      } else {
        result.push([item]);
        bottom = p.y + p.h;
      }
    });
    return result;
  };

  // An element's style in its block's row of the grid: as far below the
  // block's top as in the window, plus what lists above it grew by, and
  // centred as the block stands in the window; alone, centred and never
  // wider than the viewport.
  var inBlock = function (item, block, row, growth) {
    var places = block.map(function (other) { return other.place; });
    var left = Math.min.apply(null, places.map(function (p) { return p.x; }));
    var right = Math.max.apply(null, places.map(function (p) { return p.x + p.w; }));
    var top = Math.min.apply(null, places.map(function (p) { return p.y; }));
    var p = item.place;
    var below = block.reduce(function (sum, other, j) { return other.place.y < p.y ? sum + growth[j] : sum; }, 0);
    // Centred to a whole CSS pixel, which the browser would round to anyway.
    var centred = function (shift) { return 'round(down, calc(50% + ' + shift + 'px), 1px)'; };
    var css = { position: 'static', 'grid-row': String(row + 1), 'grid-column': '1', 'align-self': 'start',
      'justify-self': 'start' };
    css.margin = (p.y - top + below) + 'px 0 0 ' + (block.length === 1 ? 'max(' + GAP + 'px, ' +
      centred(-p.w / 2) + ')' : centred(p.x - left - (right - left) / 2));
    if (block.length === 1) css['max-width'] = 'calc(100% - ' + 2 * GAP + 'px)';
    return css;
  };

  var narrow = function (layout) {
    style(layout.root, { display: 'grid', 'grid-template-columns': '100%', 'row-gap': GAP + 'px',
      padding: GAP + 'px 0', width: 'auto', height: 'auto' });
    blocks(layout.items).forEach(function (block, row) {
      // A list grows to show its rows at the target height; what lies below
      // it in the block moves down by as much.
      var growth = block.map(function (item) {
        if (item.kind !== 'list') return 0;
        var rows = item.el.size || 2;
        return rows * Math.max(0, TARGET - Math.floor((item.place.h - 4) / rows));
      });
      block.forEach(function (item, i) {
        var css = inBlock(item, block, row, growth);
        if (item.kind === 'list') css.height = (item.place.h + growth[i]) + 'px';
        // A caption wraps rather than be cut where the viewport is narrower,
        // with room under its last line for the letters that reach below it.
        if (item.kind === 'label') {
          css.height = 'auto';
          css['min-height'] = item.place.h + 'px';
          css['white-space'] = 'pre-wrap';
          css['padding-bottom'] = '2px';
        }
        style(item.el, css);
      });
    });
  };

  // What the window, its bar and the practice take together, unscaled: the
  // practice beside them where the viewport is wider than they are in
  // proportion, else under them; it is laid out at its width to be measured.
  var extent = function (size, beside) {
    var all = { w: size.w, h: size.h + T.bar, beside: beside };
    style(practice, { position: 'absolute', width: (beside ? SIDE : size.w) + 'px', left: '0', top: '0' });
    var height = practice.offsetHeight;
    if (beside) {
      all.w += GAP + SIDE;
      all.h = Math.max(all.h, height);
    } else {
      all.h += height;
    }
    return all;
  };

  // The window and the bar under it (and the practice), as large as all fit
  // in width x innerHeight, and centred.
  var scale = function (layout, width, ratio, all) {
    var size = layout.size;
    var factor = Math.min(width / all.w, innerHeight / all.h);
    var whole = Math.floor(factor * ratio + 1e-6);
    if (whole >= WHOLE * factor * ratio) factor = whole / ratio;
    // Browsers place a box at a whole CSS pixel whatever its transform.
    var left = Math.floor((width - all.w * factor) / 2);
    var top = Math.floor((innerHeight - all.h * factor) / 2);
    var place = function (el, x, y, w) {
      style(el, { position: 'absolute', 'transform-origin': '0 0', transform: 'scale(' + factor + ')',
        left: left + x + 'px', top: top + y + 'px', width: w + 'px' });
    };
    place(layout.root, 0, 0, size.w);
    place(bar, 0, size.h * factor, size.w);
    if (practising && all.beside) place(practice, Math.round((size.w + GAP) * factor), 0, SIDE);
    else if (practising) place(practice, 0, (size.h + T.bar) * factor, size.w);
    T.window.resolution(factor * ratio);
  };

  var fit = function () {
    var layout = T.window.layout();
    if (T.ended() || !layout.root) return;
    var size = layout.size;
    var html = document.documentElement;
    var room = T.room(size.w, size.h);
    var width = innerWidth;
    // The practice needs room of its own: scaled with it where all fit so,
    // else the window as it would be without it, the practice below.
    var all = { w: size.w, h: size.h + T.bar, beside: false };
    var scaled = function () { return T.room(all.w, all.h - T.bar) === 'scaled'; };
    if (practising && room === 'scaled') {
      all = extent(size, innerWidth * (size.h + T.bar) >= innerHeight * (size.w + GAP + SIDE));
      if (!scaled() && all.beside) all = extent(size, false);
      if (!scaled()) room = 'natural';
      unstyle(practice);
    }
    // A scroll bar takes room from the window's width only where the window
    // is taller than the viewport, and only then is the layout asked.
    if (room === 'tall') {
      html.classList.remove('tavrel-narrow');
      restore(layout);
      width = html.clientWidth;
      room = width < size.w ? 'narrow' : 'natural';
    }
    if (room !== 'narrow') restore(layout);
    html.classList.toggle('tavrel-narrow', room === 'narrow');
    if (room === 'narrow' && mode !== 'narrow') narrow(layout);
    mode = room;
    var ratio = window.devicePixelRatio || 1;
    if (room === 'scaled') scale(layout, width, ratio, all);
    else T.window.resolution(ratio);
  };

  // Paper shows the window as drawn, whatever the screen showed. The print
  // style undoes the scaling; the narrow layout, which takes the elements'
  // own places, is undone here until the print is made, and the pictures
  // are drawn pixel for pixel again.
  addEventListener('beforeprint', function () {
    var layout = T.window.layout();
    if (T.ended() || !layout.root) return;
    if (mode === 'narrow') {
      restore(layout);
      document.documentElement.classList.remove('tavrel-narrow');
    }
    T.window.resolution(1);
  });
  addEventListener('afterprint', fit);

  // The window is fitted as it is shown, before it is in the page; a window
  // taller than the viewport is fitted again in the page, where the scroll
  // bar it brings takes its room. From then on the viewport may change.
  T.on('showing', fit);
  T.on('shown', function () { if (innerHeight < T.window.layout().size.h) fit(); });
  T.on('started', function () { addEventListener('resize', fit); });
  T.on('practice', function (on) {
    practising = on;
    fit();
  });
  // The practice's words change its height.
  T.on('bar', function () { if (practising) fit(); });
})(Tavrel);
