// The window's elements: the JavaScript half of the web back end. The C++
// half writes the window's markup (the same code writes the copy of its
// start that the build puts into the page) and the places of its elements;
// here the window goes into the page, follows every change the program
// makes, and hands the user's input back to the program. Nothing here knows
// this window: places, texts, order and names all come from C++.
(function (T) {
  var root = null;
  var size = null;
  // Each element's id, kind, place and caption, in reading order; by id too.
  var items = [];
  var byId = [];
  var lists = [];
  // The selection the program last gave each list, by position.
  var selected = [];
  // Pictures are shared and never change: each is turned into pixels once,
  // and into a canvas of its own once it is drawn larger than that.
  var pictures = [];
  var sources = [];
  var drawn = [];
  // The picture each box shows (-1: none), and how many canvas pixels, across
  // and down, a picture pixel takes.
  var shown = [];
  var blocks = 1;
  // The start is over once main and the page's parts have run; the window
  // comes into the page then, when no box waits for its picture.
  var starting = true;
  var waiting = {};
  var startFocus = null;
  var pressed = false;
  var KINDS = ['label', 'list', 'picture', 'text'];

  // The start window drawn into the page, while it stands for the window.
  var copy = function () { return document.getElementById('tavrel-prerendered'); };

  // Puts the window into the page once the start is over and every box has
  // its picture, so that its first frame shows it whole (in place of its
  // drawn copy, which looks the same); then the focus it opens with, and the
  // rows of its lists, which need it laid out.
  var present = function () {
    if (starting || T.ended() || !root || root.isConnected || Object.keys(waiting).length) return;
    // In the place the page keeps for it, where its drawn copy stood.
    var still = copy();
    var place = document.getElementById('tavrel-place');
    if (still) still.replaceWith(root);
    else if (place) place.after(root);
    else document.body.appendChild(root);
    T.announce('shown');
    if (startFocus) focus(startFocus[0], startFocus[1]);
    measureLists();
  };

  // The rows each list shows, for Page Up and Page Down to move by: measured
  // once the whole window stands, so the page is laid out once for all lists.
  var measureLists = function () {
    var rows = lists.map(function (item) {
      var el = item.el;
      var row = el.options.length ? el.options[0].offsetHeight : 0;
      return row ? Math.floor(el.clientHeight / row) : 2;
    });
    lists.forEach(function (item, i) { item.el.size = Math.max(2, rows[i]); });
  };

  // A browser changes a list's selection in ways that send no change event
  // (Chromium: a press in the list released outside it, or the list scrolling
  // under a held button). So after any input every list is compared with the
  // selection the program last gave it: the program learns of a difference,
  // or the list is put back.
  var sync = function () {
    lists.forEach(function (item, i) {
      var entry = item.el.selectedIndex;
      if (entry === selected[i] || T.ended()) return;
      if (entry >= 0 && !item.locked) T.input(function () { Module._tavrel_web_list_selected(item.id, entry); });
      if (T.ended()) return;
      if (item.el.selectedIndex !== selected[i]) item.el.selectedIndex = selected[i];
      else T.announce('picked', i);
    });
  };

  // The browser changes a selection in an event's default action, after the
  // listeners have run: so the lists are compared at once (for what earlier
  // input did), before the next frame is drawn and in the next task. While a
  // button is held, every frame is checked too.
  var watchInput = function () {
    var framed = false;
    var frame = function () {
      framed = false;
      sync();
      if (pressed && !T.ended()) later();
    };
    var later = function () {
      if (!framed) requestAnimationFrame(frame);
      framed = true;
    };
    var look = function (e) {
      if (e.type === 'pointerdown' || e.type === 'mousedown' || e.type === 'touchstart') pressed = true;
      else if (/up$|end$|cancel$/.test(e.type) || e.buttons === 0) pressed = false;
      sync();
      later();
      setTimeout(sync, 0);
    };
    ['input', 'change', 'click', 'keydown', 'keyup', 'focusin', 'focusout', 'scroll', 'wheel', 'pointerdown',
      'pointermove', 'pointerup', 'pointercancel', 'mousedown', 'mousemove', 'mouseup', 'touchstart', 'touchmove',
      'touchend', 'touchcancel'].forEach(function (type) {
      window.addEventListener(type, look, { capture: true, passive: true });
    });
    window.addEventListener('blur', function () { pressed = false; });
  };

  // A locked list takes the focus and scrolls, but no key or press of the
  // user's changes its selection (what gets through, sync() puts back).
  var KEEP = /^(Tab|Escape|F\d+)$/;
  var guard = function (e) {
    var item = lists.filter(function (list) { return list.el === e.currentTarget; })[0];
    if (!item || !item.locked) return;
    if (e.type === 'keydown' ? KEEP.test(e.key) || e.ctrlKey || e.altKey || e.metaKey : e.button !== 0) return;
    e.preventDefault();
    // A press that selects nothing still takes the focus, as on any list.
    if (e.type !== 'keydown') item.el.focus();
  };

  // Tab and Shift+Tab go round the window's own ring, as on the desktop. In
  // a frame of another page they leave it past the ring's last (or first)
  // element instead, or a keyboard user could never get back to that page.
  var onKey = function (e) {
    if (e.key !== 'Tab' || e.ctrlKey || e.altKey || e.metaKey) return;
    var current = items.filter(function (item) { return item.el === document.activeElement; })[0];
    var id = current ? current.id : -1;
    if (current && window.self !== window.top) {
      var edge = T.input(function () { return Module._tavrel_web_tab_edge(e.shiftKey ? 1 : 0); });
      if (id === edge) {
        // The browser's own order is the page's, not the ring's: for this one
        // key press, nothing else in the window may come next in it.
        var others = items.filter(function (item) { return item !== current && item.el.tabIndex >= 0; });
        others.forEach(function (item) { item.el.tabIndex = -1; });
        setTimeout(function () { others.forEach(function (item) { item.el.tabIndex = 0; }); }, 0);
        return;
      }
    }
    // The program moves the focus itself, through focus() below.
    if (T.input(function () { return Module._tavrel_web_tab_from(id, e.shiftKey ? 1 : 0); })) e.preventDefault();
  };

  // The focus the window opens with carries no mark until the keyboard moves it.
  var focus = function (id, quiet) {
    if (root && !root.isConnected) startFocus = [id, quiet];
    else if (byId[id]) byId[id].el.focus({ preventScroll: true, focusVisible: !quiet });
  };

  // A canvas that has never been drawn on is empty already: a context and a
  // clearing would make its pixels before anything is drawn on them.
  var draw = function (id, picture) {
    var canvas = byId[id].el;
    shown[id] = picture;
    if (!drawn[id] && picture < 0) return;
    var context = canvas.getContext('2d');
    if (drawn[id]) context.clearRect(0, 0, canvas.width, canvas.height);
    drawn[id] = true;
    if (picture < 0) return;
    var image = pictures[picture];
    if (blocks === 1) {
      context.putImageData(image, 0, 0);
      return;
    }
    if (!sources[picture]) {
      sources[picture] = document.createElement('canvas');
      sources[picture].width = image.width;
      sources[picture].height = image.height;
      sources[picture].getContext('2d').putImageData(image, 0, 0);
    }
    context.imageSmoothingEnabled = false;
    context.drawImage(sources[picture], 0, 0, image.width * blocks, image.height * blocks);
  };

  var pixels = function (rgba, w, h) {
    return new ImageData(new Uint8ClampedArray(HEAPU8.subarray(rgba, rgba + w * h * 4)), w, h);
  };

  T.on('ended', function () {
    if (root) root.remove();
    var still = copy();
    if (still) still.remove();
  });

  // After main has returned: the window has loaded and is shown.
  Module.postRun = [].concat(Module.postRun || [], function () {
    if (T.ended() || !root) return;
    T.announce('started');
    starting = false;
    present();
  });

  // What the C++ half calls.
  T.window = {
    setTitle: function (title) { document.title = title; },

    // The icon is no part of the window's first frame: it is encoded after.
    setIcon: function (rgba, w, h) {
      var image = pixels(rgba, w, h);
      setTimeout(function () {
        var canvas = document.createElement('canvas');
        canvas.width = w;
        canvas.height = h;
        canvas.getContext('2d').putImageData(image, 0, 0);
        var link = document.querySelector('link[rel~="icon"]') ||
          document.head.appendChild(document.createElement('link'));
        link.rel = 'icon';
        link.href = canvas.toDataURL('image/png');
      }, 0);
    },

    // The window from its markup, and its elements' places: seven numbers
    // each, in the markup's order (id, kind, x, y, w, h, caption id).
    make: function (markup, numbers, width, height) {
      var template = document.createElement('template');
      template.innerHTML = markup;
      root = template.content.firstChild;
      size = { w: width, h: height };
      var elements = root.children;
      for (var i = 0; i * 7 < numbers.length; i++) {
        var n = numbers.slice(i * 7, i * 7 + 7);
        var item = { id: n[0], kind: KINDS[n[1]], el: elements[i], place: { x: n[2], y: n[3], w: n[4], h: n[5] },
          caption: n[6], name: elements[i].getAttribute('data-name'), text: elements[i].textContent };
        items.push(item);
        byId[item.id] = item;
        if (item.kind === 'list') {
          lists.push(item);
          selected.push(item.el.selectedIndex);
          ['keydown', 'mousedown', 'pointerdown'].forEach(function (type) { item.el.addEventListener(type, guard); });
        }
        // Dropping text would edit it, and the browser lets a drop through readOnly.
        if (item.kind === 'text')
          item.el.addEventListener('drop', function (e) { if (e.target.readOnly) e.preventDefault(); });
      }
      root.addEventListener('keydown', onKey);
      watchInput();
    },

    // A caption covered by a stand-in shows the stand-in, on screen and to
    // assistive technology alike, and keeps its own text for when it is shown.
    setCaption: function (id, text) {
      var item = byId[id];
      item.text = text;
      var shown = item.cover === undefined ? text : item.cover;
      if (item.el.textContent !== shown) item.el.textContent = shown;
    },
    setSelected: function (id, entry) {
      var list = lists.indexOf(byId[id]);
      selected[list] = entry;
      byId[id].el.selectedIndex = entry;
      T.announce('selected', list);
    },
    putPicture: function (id, picture, rgba, w, h) {
      if (rgba) pictures[picture] = pixels(rgba, w, h);
      draw(id, picture);
      delete waiting[id];
      present();
    },
    waitPicture: function (id) {
      waiting[id] = true;
      draw(id, -1);
    },
    focus: focus,

    // How many device pixels a CSS pixel of the window covers, as the page
    // shows it. At a whole number the browser makes each picture pixel an
    // exact block of them. Between whole numbers it could not: pixel by
    // pixel, some one-pixel roads would come out a device pixel wider than
    // others. There each picture is drawn in exact blocks at the next whole
    // number above, and the browser scales that down smoothly: every road
    // keeps one width and nearly one weight, with a dark core. (Averaged down
    // to the device pixels here, the weights would be exact; but the browser
    // resamples such a canvas once more at its place between device pixels,
    // and the roads come out grey.)
    resolution: function (factor) {
      var whole = Math.abs(factor - Math.round(factor)) < 1e-3;
      var next = whole ? 1 : Math.max(1, Math.ceil(factor));
      var redraw = next !== blocks;
      blocks = next;
      items.forEach(function (item) {
        if (item.kind !== 'picture') return;
        item.el.style.imageRendering = whole ? '' : 'auto';
        if (!redraw) return;
        // A new size empties the canvas, as if it had never been drawn on.
        item.el.width = item.place.w * next;
        item.el.height = item.place.h * next;
        drawn[item.id] = false;
        if (shown[item.id] >= 0) draw(item.id, shown[item.id]);
      });
    },

    // The window is whole: it is fitted to the viewport before the focus lays
    // the page out, so that the first frame needs no second layout.
    show: function (focusId) {
      T.announce('showing');
      if (focusId >= 0) focus(focusId, true);
    },

    // For the page's parts: an element by its control array and index
    // ("Label1(1)"); its caption, covered or not; a stand-in for it (undefined
    // takes it away); a name of its own for assistive technology, in place of
    // its caption label's, and whether a change of its text is announced.
    named: function (name) { return items.filter(function (item) { return item.name === name; })[0] || null; },
    caption: function (id) { return byId[id].text; },
    cover: function (id, standIn) {
      byId[id].cover = standIn;
      T.window.setCaption(id, byId[id].text);
    },
    covered: function (id) { return byId[id].cover !== undefined; },
    // A list the user cannot change (the page may still pick in it), and says so.
    lock: function (id, locked) {
      byId[id].locked = locked;
      if (locked) byId[id].el.setAttribute('aria-readonly', 'true');
      else byId[id].el.removeAttribute('aria-readonly');
    },
    describe: function (id, text) {
      var el = byId[id].el;
      el.removeAttribute('aria-labelledby');
      if (el.getAttribute('aria-label') !== text) el.setAttribute('aria-label', text);
    },
    silence: function (id) {
      byId[id].el.removeAttribute('aria-live');
      byId[id].el.removeAttribute('aria-atomic');
    },
    // The elements Tab leaves the window's ring from, and going into the ring
    // from outside it, as Tab (or Shift+Tab) does.
    edge: function (backward) {
      var id = T.input(function () { return Module._tavrel_web_tab_edge(backward ? 1 : 0); });
      return byId[id] || null;
    },
    enter: function (backward) {
      return T.input(function () { return Module._tavrel_web_tab_from(-1, backward ? 1 : 0); });
    },

    // For the page's parts: the window, its size and its elements' places,
    // kinds and captions (ids), in reading order, as data.
    layout: function () {
      return { root: root, size: size, items: items, byId: byId };
    },

    // The selection: one entry per list, in reading order.
    values: function () { return lists.map(function (item) { return item.el.selectedIndex; }); },
    // Whether values names one entry of each list, in order.
    fits: function (values) {
      return Array.isArray(values) && values.length === lists.length && values.every(function (v, i) {
        return Number.isInteger(v) && v >= 0 && v < lists[i].el.options.length;
      });
    },
    // Picks for the user, through the same call as a click, so that the
    // program learns it as it learns any pick.
    pick: function (values) {
      if (!T.window.fits(values)) return false;
      lists.forEach(function (item, i) {
        T.input(function () { Module._tavrel_web_list_selected(item.id, values[i]); });
      });
      return true;
    },
  };
})(Tavrel);
