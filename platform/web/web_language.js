// The pupil's choice of language, in the bar, each language in its own name:
// kept on this device for the next visit. And the window in that language:
// its caption, heading, the label of the route count and the task text are
// covered with their translations, which keep the window's places and sizes;
// in the page's own language the window shows the program's own texts.
(function (T) {
  var control = document.getElementById('tavrel-language');
  var caption = null;

  var translate = function () {
    var layout = T.window.layout();
    if (!layout.root) return;
    if (caption === null) caption = layout.root.getAttribute('aria-label') || '';
    // The caption begins with the publisher's address, which is no word of any language.
    var title = T.words.text('window.title', null, T.words.own());
    var site = caption.slice(0, caption.length - title.length);
    var shown = caption.endsWith(title) ? site + T.words.text('window.title') : caption;
    layout.root.setAttribute('aria-label', shown);
    document.title = shown;
    [['Label1(0)', 'window.heading'], ['Label1(5)', 'window.count'], ['Text1(0)', 'window.task']].forEach(function (pair) {
      var item = T.window.named(pair[0]);
      if (!item) return;
      var words = T.words.text(pair[1]);
      T.window.cover(item.id, words === T.window.caption(item.id) ? undefined : words);
    });
    var task = T.window.named('Text1(0)');
    if (task) T.window.describe(task.id, T.words.text('window.task.name'));
  };

  var follow = function () { control.value = T.words.language(); };

  control.addEventListener('change', function () {
    if (!T.words.choose(control.value, 'user')) return;
    try {
      localStorage.setItem(T.kept, T.words.language());
    } catch (e) { /* storage refused: the choice holds for this visit */ }
  });
  follow();
  T.on('started', translate);
  T.on('language', function () {
    follow();
    translate();
  });
})(Tavrel);
