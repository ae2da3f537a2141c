#include "script/json_support_script.h"

namespace script {

// Written for old JScript as well: ECMAScript 3 only, no strict mode.
extern const std::u16string_view JsonSupportScript = uR"js(
function get__nodeValue(str_json, recursion) {
  for (var i in str_json) {
    var a = Object.prototype.toString.call(str_json[i]);
    if (a == '[object Object]' || a == '[object Array]') {
      if (recursion) get__nodeValue(str_json[i], recursion);
    } else if (a == '[object String]' || a == '[object Number]' || a == '[object Boolean]') {
      str_all.push(str_json[i]);
    }
  }
  return str_all;
}

function get__count(c) {
  return Object.prototype.toString.call(c) == '[object Array]' ? c.length : 0;
}

function get__name_All(a) {
  if (Object.prototype.toString.call(a) != '[object Object]') return '';
  var names = [];
  for (var key in a) {
    if (typeof a[key] !== 'function') names.push(key);
  }
  return names.join('\r\n');
}

function get__extend(target, source) {
  if (Object.prototype.toString.call(target) == '[object Array]') {
    // The elements of an array or the characters of a text only: an object's own length
    // member could ask for a billion.
    var type = Object.prototype.toString.call(source);
    var count = type == '[object Array]' || type == '[object String]' ? source.length : 0;
    for (var n = 0; n < count; n++) target.push(source[n]);
    return target;
  }
  for (var k in source) {
    switch (typeof target[k]) {
      case 'string':
      case 'boolean':
      case 'undefined':
        target[k] = source[k];
        break;
      case 'number':
        target = target.concat(source);
        break;
      case 'object':
        target[k] = get__extend(target[k], source[k]);
        break;
    }
  }
  return target;
}

if (typeof JSON !== 'object') JSON = {};

(function () {
  var shortEscapes = {'\b': '\\b', '\t': '\\t', '\n': '\\n', '\f': '\\f', '\r': '\\r', '"': '\\"', '\\': '\\\\'};
  var mustEscape = /[\\"\u0000-\u001f\u007f-\u009f\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;
  var unsafeInScript = /[\u0000\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;
  var escapeSequence = /\\(?:["\\\/bfnrt]|u[0-9a-fA-F]{4})/g;
  var valueToken = /"[^"\\\n\r]*"|true|false|null|-?\d+(?:\.\d*)?(?:[eE][+\-]?\d+)?/g;
  var openingBrackets = /(?:^|:|,)(?:\s*\[)+/g;
  var onlyStructure = /^[\],:{}\s]*$/;

  function twoDigits(n) {
    return n < 10 ? '0' + n : String(n);
  }

  function unicodeEscape(c) {
    return '\\u' + ('0000' + c.charCodeAt(0).toString(16)).slice(-4);
  }

  function quote(text) {
    return '"' + text.replace(mustEscape, function (c) {
      var e = shortEscapes[c];
      return typeof e === 'string' ? e : unicodeEscape(c);
    }) + '"';
  }

  function isArray(value) {
    return Object.prototype.toString.call(value) == '[object Array]';
  }

  // Lays out the members' texts, one a line when there is an indent.
  function enclose(open, parts, close, indent, innerIndent) {
    if (parts.length === 0) return open + close;
    if (innerIndent === indent) return open + parts.join(',') + close;
    return open + '\n' + innerIndent + parts.join(',\n' + innerIndent) + '\n' + indent + close;
  }

  // The JSON text of holder[key], or undefined for a value that has none.
  function serialise(holder, key, replacer, gap, indent) {
    var value = holder[key];
    if (value && typeof value === 'object' && typeof value.toJSON === 'function') value = value.toJSON(key);
    if (typeof replacer === 'function') value = replacer.call(holder, key, value);
    switch (typeof value) {
      case 'string':
        return quote(value);
      case 'number':
        return isFinite(value) ? String(value) : 'null';
      case 'boolean':
        return String(value);
      case 'object':
        if (!value) return 'null';
        return isArray(value) ? serialiseArray(value, replacer, gap, indent)
                              : serialiseObject(value, replacer, gap, indent);
    }
    return undefined;
  }

  function serialiseArray(array, replacer, gap, indent) {
    var innerIndent = indent + gap, parts = [];
    for (var i = 0; i < array.length; i++) {
      var part = serialise(array, String(i), replacer, gap, innerIndent);
      parts.push(part === undefined ? 'null' : part);
    }
    return enclose('[', parts, ']', indent, innerIndent);
  }

  function serialiseObject(object, replacer, gap, indent) {
    var innerIndent = indent + gap, parts = [], keys = [], i, key;
    if (replacer && typeof replacer === 'object') {
      for (i = 0; i < replacer.length; i++) {
        if (typeof replacer[i] === 'string') keys.push(replacer[i]);
      }
    } else {
      for (key in object) {
        if (Object.prototype.hasOwnProperty.call(object, key)) keys.push(key);
      }
    }
    for (i = 0; i < keys.length; i++) {
      var part = serialise(object, keys[i], replacer, gap, innerIndent);
      if (part !== undefined) parts.push(quote(keys[i]) + (gap ? ': ' : ':') + part);
    }
    return enclose('{', parts, '}', indent, innerIndent);
  }

  // Applies the reviver depth first; a member it turns into undefined is deleted.
  function revive(holder, key, reviver) {
    var value = holder[key];
    if (value && typeof value === 'object') {
      for (var k in value) {
        if (!Object.prototype.hasOwnProperty.call(value, k)) continue;
        var revived = revive(value, k, reviver);
        if (revived === undefined) delete value[k];
        else value[k] = revived;
      }
    }
    return reviver.call(holder, key, value);
  }

  if (typeof Date.prototype.toJSON !== 'function') {
    Date.prototype.toJSON = function () {
      if (!isFinite(this.valueOf())) return null;
      return this.getUTCFullYear() + '-' + twoDigits(this.getUTCMonth() + 1) + '-' + twoDigits(this.getUTCDate()) +
             'T' + twoDigits(this.getUTCHours()) + ':' + twoDigits(this.getUTCMinutes()) + ':' +
             twoDigits(this.getUTCSeconds()) + 'Z';
    };
    var primitiveValue = function () {
      return this.valueOf();
    };
    String.prototype.toJSON = primitiveValue;
    Number.prototype.toJSON = primitiveValue;
    Boolean.prototype.toJSON = primitiveValue;
  }

  if (typeof JSON.stringify !== 'function') {
    JSON.stringify = function (value, replacer, space) {
      var gap = '';
      if (typeof space === 'number') {
        for (var n = 0; n < space; n++) gap += ' ';
      } else if (typeof space === 'string') {
        gap = space;
      }
      if (replacer && typeof replacer !== 'function' &&
          (typeof replacer !== 'object' || typeof replacer.length !== 'number')) {
        throw new Error('JSON.stringify');
      }
      return serialise({'': value}, '', replacer, gap, '');
    };
  }

  if (typeof JSON.parse !== 'function') {
    // Only literals, brackets, commas, colons and white space may remain once every value
    // token is gone: then evaluating the text cannot run code.
    JSON.parse = function (text, reviver) {
      text = String(text).replace(unsafeInScript, unicodeEscape);
      var structure = text.replace(escapeSequence, '@').replace(valueToken, ']').replace(openingBrackets, '');
      if (!onlyStructure.test(structure)) throw new SyntaxError('JSON.parse');
      var result = eval('(' + text + ')');
      return typeof reviver === 'function' ? revive({'': result}, '', reviver) : result;
    };
  }
})();

if (typeof Object.prototype.toJSONString !== 'function') {
  Object.prototype.toJSONString = function (filter) {
    return JSON.stringify(this, filter);
  };
  Object.prototype.parseJSON = function (filter) {
    return JSON.parse(this, filter);
  };
}
)js";

}  // namespace script
