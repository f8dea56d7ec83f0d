// The verification page's check, in the reader's browser: the code's signature with the
// institution's public key (tweetnacl), then the certificate's place on the signed status
// lists (status.js, W3C Bitstring Status List). Everything it shows is set as text.
(function () {
  'use strict';

  var WORDS = {
    'GENUINE': ['GENUINE', 'ಅಸಲಿ'],
    'REVOKED': ['REVOKED', 'ರದ್ದುಗೊಳಿಸಲಾಗಿದೆ'],
    'SUSPENDED': ['SUSPENDED', 'ತಡೆಹಿಡಿಯಲಾಗಿದೆ'],
    'NOT GENUINE': ['NOT GENUINE', 'ಅಸಲಿ ಅಲ್ಲ'],
    'UNCHECKED': ['SIGNATURE GENUINE, STATUS NOT CHECKED', 'ಸಹಿ ಅಸಲಿ, ಸ್ಥಿತಿ ಪರಿಶೀಲಿಸಿಲ್ಲ']
  };
  var VERSION = 2;
  var SEPARATOR = '\u001f';
  var FIELDS = ['certno', 'regno', 'name', 'degree', 'class', 'convocation', 'issued', 'list', 'index'];

  function $(id) { return document.getElementById(id); }

  // base64url without padding, strictly: a text that does not encode its bytes exactly is refused.
  function fromBase64Url(text) {
    if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
    var binary;
    try {
      binary = atob(text.replace(/-/g, '+').replace(/_/g, '/') + '==='.slice((text.length + 3) % 4));
    } catch (e) {
      return null;
    }
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    if (toBase64Url(bytes) !== text) return null;
    return bytes;
  }
  function toBase64Url(bytes) {
    var binary = '';
    for (var i = 0; i < bytes.length; ++i) binary += String.fromCharCode(bytes[i]);
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  function ascii(text) {
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i) & 0xff;
    return bytes;
  }
  function utf8(bytes) { return new TextDecoder('utf-8', { fatal: true }).decode(bytes); }

  // The payload of a JWS signed by the institution's key (EdDSA), or null.
  function jwsPayload(jws, key) {
    if (typeof jws !== 'string') return null;
    var parts = jws.split('.');
    if (parts.length !== 3) return null;
    var header, signature = fromBase64Url(parts[2]), payload = fromBase64Url(parts[1]);
    try { header = JSON.parse(utf8(fromBase64Url(parts[0]) || new Uint8Array(0))); } catch (e) { return null; }
    if (!header || header.alg !== 'EdDSA' || !signature || !payload || signature.length !== 64) return null;
    if (!nacl.sign.detached.verify(ascii(parts[0] + '.' + parts[1]), signature, key)) return null;
    try { return JSON.parse(utf8(payload)); } catch (e) { return null; }
  }

  // The certificate's claims from the code, or null when the signature does not hold.
  function readCode(fragment, key) {
    var bytes = fromBase64Url(fragment);
    if (!bytes || bytes.length <= 64) return null;
    var message = bytes.subarray(0, bytes.length - 64);
    var signature = bytes.subarray(bytes.length - 64);
    if (message[0] !== VERSION || !nacl.sign.detached.verify(message, signature, key)) return null;
    var fields;
    try { fields = utf8(message.subarray(1)).split(SEPARATOR); } catch (e) { return null; }
    if (fields.length !== FIELDS.length) return null;
    var claims = {};
    for (var i = 0; i < FIELDS.length; ++i) claims[FIELDS[i]] = fields[i];
    return claims;
  }

  // Whether bit `index` of a list credential is set: the list is GZIP in multibase base64url,
  // its first bit the most significant of the first byte.
  function bitOf(credential, purpose, index) {
    var subject = credential && credential.credentialSubject;
    if (!subject || subject.statusPurpose !== purpose || typeof subject.encodedList !== 'string' ||
        subject.encodedList.charAt(0) !== 'u')
      return Promise.reject(new Error('not a ' + purpose + ' list'));
    var compressed = fromBase64Url(subject.encodedList.slice(1));
    if (!compressed) return Promise.reject(new Error('damaged list'));
    var stream = new Blob([compressed]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Response(stream).arrayBuffer().then(function (buffer) {
      var bits = new Uint8Array(buffer);
      var at = Math.floor(index / 8);
      if (index < 0 || at >= bits.length) throw new Error('place outside the list');
      return (bits[at] & (0x80 >> (index % 8))) !== 0;
    });
  }

  function isoToDmy(iso) {
    var m = /^(\d{4})-(\d{2})-(\d{2})/.exec(iso || '');
    return m ? m[3] + '/' + m[2] + '/' + m[1] : '';
  }

  function show(status, explanation, claims, listNote) {
    var words = WORDS[status];
    $('result').setAttribute('data-status', status);
    var verdict = $('verdict');
    verdict.textContent = words[0] + ' · ';
    var kannada = document.createElement('span');
    kannada.lang = 'kn';
    kannada.textContent = words[1];
    verdict.appendChild(kannada);
    $('explanation').textContent = explanation || '';
    if (claims) {
      ['certno', 'regno', 'name', 'degree', 'class', 'convocation'].forEach(function (f) { $(f).textContent = claims[f]; });
      $('issued').textContent = isoToDmy(claims.issued);
      $('details').hidden = false;
    }
    $('list').textContent = listNote || '';
  }

  function check() {
    var key = fromBase64Url(document.querySelector('meta[name="issuer-public-key"]').content);
    var fragment;
    try {
      fragment = decodeURIComponent(window.location.hash.replace(/^#/, ''));
    } catch (e) {
      fragment = '-';
    }
    if (!fragment) {
      show('NOT GENUINE', 'No code was given: scan the QR code on the certificate, or open its link. · ' +
           'ಯಾವುದೇ ಸಂಕೇತ ಇಲ್ಲ: ಪ್ರಮಾಣಪತ್ರದ QR ಸಂಕೇತವನ್ನು ಸ್ಕ್ಯಾನ್ ಮಾಡಿ.');
      return;
    }
    var claims = key && key.length === 32 ? readCode(fragment, key) : null;
    if (!claims) {
      show('NOT GENUINE', 'The code does not carry the institution\u2019s signature: it was changed, or not made by ' +
           'the institution. · ಈ ಸಂಕೇತಕ್ಕೆ ಸಂಸ್ಥೆಯ ಸಹಿ ಇಲ್ಲ.');
      return;
    }
    var status = window.scrollwiseStatus || {};
    var lists = status.lists && status.lists[claims.list];
    var revocation = lists && jwsPayload(lists.revocation, key);
    var suspension = lists && jwsPayload(lists.suspension, key);
    var reasons = jwsPayload(status.reasons, key) || { revoked: {}, suspended: {} };
    var index = parseInt(claims.index, 10);
    if (!revocation || !suspension || !(index >= 0)) {
      show('UNCHECKED', 'The certificate was issued by the institution, but its status list is missing or not ' +
           'signed by it, so whether it was revoked since cannot be told here.', claims);
      return;
    }
    var listNote = 'Status list of ' + isoToDmy(revocation.validFrom) + ' · ಸ್ಥಿತಿ ಪಟ್ಟಿ ' +
                   isoToDmy(revocation.validFrom);
    Promise.all([bitOf(revocation, 'revocation', index), bitOf(suspension, 'suspension', index)])
      .then(function (bits) {
        if (bits[0]) {
          var r = (reasons.revoked || {})[claims.certno] || {};
          show('REVOKED', 'Revoked' + (r.date ? ' on ' + isoToDmy(r.date) : '') + (r.reason ? ': ' + r.reason : '') +
               ' · ರದ್ದುಗೊಳಿಸಲಾಗಿದೆ' + (r.date ? ' (' + isoToDmy(r.date) + ')' : ''), claims, listNote);
        } else if (bits[1]) {
          var s = (reasons.suspended || {})[claims.certno] || {};
          show('SUSPENDED', 'On hold' + (s.date ? ' since ' + isoToDmy(s.date) : '') + (s.reason ? ': ' + s.reason : '') +
               ' · ತಡೆಹಿಡಿಯಲಾಗಿದೆ' + (s.date ? ' (' + isoToDmy(s.date) + ')' : ''), claims, listNote);
        } else {
          show('GENUINE', 'Issued by the institution and not revoked. · ಸಂಸ್ಥೆಯು ನೀಡಿದ, ರದ್ದಾಗದ ಪ್ರಮಾಣಪತ್ರ.', claims,
               listNote);
        }
      })
      .catch(function () {
        show('UNCHECKED', 'The certificate was issued by the institution, but its status list cannot be read here.',
             claims);
      });
  }

  window.addEventListener('hashchange', check);
  check();
})();
