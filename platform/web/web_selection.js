// The window's selection as the page around the window sees it: the lists'
// entries in reading order, one number per list. The address and a learning
// platform read it after each pick of the user and can pick for the user,
// through the same call as a click, so the program learns it as it learns
// any pick.
var TavrelSelection = {
  starts: [],
  picks: [],

  lists: function () {
    return TavrelDom.root ? Array.prototype.slice.call(TavrelDom.root.querySelectorAll('select')) : [];
  },

  values: function () {
    return TavrelSelection.lists().map(function (list) { return list.selectedIndex; });
  },

  // Whether values names one entry of each list, in order.
  fits: function (values) {
    var lists = TavrelSelection.lists();
    return Array.isArray(values) && values.length === lists.length && values.every(function (v, i) {
      return Number.isInteger(v) && v >= 0 && v < lists[i].options.length;
    });
  },

  pick: function (values) {
    if (!TavrelSelection.fits(values)) return false;
    TavrelSelection.lists().forEach(function (list, i) {
      TavrelDom.input(function () { Module._tavrel_web_list_selected(list.tavrelId, values[i]); });
    });
    return true;
  },

  // fn() runs once the window's own start is over; fn(list) after every
  // pick of the user, list being its position in reading order.
  onStart: function (fn) { TavrelSelection.starts.push(fn); },
  onPick: function (fn) { TavrelSelection.picks.push(fn); },

  started: function () {
    if (TavrelDom.ended || !TavrelDom.root) return;
    // Every pick of the user, however the browser made it, once the program has it.
    TavrelDom.userPicked.push(function (el) {
      var list = TavrelSelection.lists().indexOf(el);
      if (list >= 0) TavrelSelection.picks.forEach(function (fn) { fn(list); });
    });
    TavrelSelection.starts.forEach(function (fn) { fn(); });
    TavrelDom.started();
  },
};
// After main has returned: the window has loaded and is shown.
Module['postRun'] = [].concat(Module['postRun'] || [], TavrelSelection.started);
