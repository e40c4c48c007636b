#if !NOCLASS && !EMPTY
using System;
using System.Diagnostics;
using System.IO;
using System.Net;
using System.Threading;

namespace VISDKWrapper
{
    // Files moved over the server's HTTP access (datastore files, guest files, disks of an import), streamed both ways:
    // a file of any size passes through a fixed buffer, never whole through memory.
    sealed partial class VimClient
    {
        const int TransferBuffer = 1 << 20;

        // GETs the URL into the local file. The file appears whole or not at all: the bytes go to a temporary file beside
        // it, renamed once the last byte is in. `prepare` adjusts the request (a host's ticket and trust).
        long Download(Uri url, string localPath, Action<long, long> progress = null, Action<HttpWebRequest> prepare = null)
        {
            var full = Path.GetFullPath(localPath);
            var partial = full + ".part-" + Guid.NewGuid().ToString("N").Substring(0, 8);
            var what = "GET " + url.AbsolutePath;
            Stall stall = null;
            try
            {
                var http = soap.Http(url, "GET");
                if (prepare != null) prepare(http);
                long copied;
                using (stall = new Stall(http, settings.ReadTimeoutMs))
                using (var response = (HttpWebResponse)http.GetResponse())
                {
                    if ((int)response.StatusCode != 200)
                        throw new ClientFault("The server answered " + (int)response.StatusCode + " (" + response.StatusDescription + ") to " + what);
                    long length = response.ContentLength;
                    using (var from = response.GetResponseStream())
                    using (var to = new FileStream(partial, FileMode.CreateNew, FileAccess.Write, FileShare.None, TransferBuffer))
                        copied = Copy(from, to, length, stall.Watching(progress));
                    if (length >= 0 && copied != length)
                        throw new ClientFault("The download of " + url.AbsolutePath + " ended after " + copied + " of " + length + " bytes");
                }
                if (File.Exists(full)) File.Delete(full);
                File.Move(partial, full);
                return copied;
            }
            catch (Exception e) when (Stall.Ended(stall, e)) { throw soap.HttpFailure(new WebException(what, WebExceptionStatus.Timeout), what, url); }
            catch (WebException e) { throw soap.HttpFailure(e, what, url); }
            catch (IOException e) { throw new ClientFault("The download of " + url.AbsolutePath + " to " + localPath + " failed: " + e.Message); }
            catch (UnauthorizedAccessException e) { throw new ClientFault("The download to " + localPath + " failed: " + e.Message); }
            finally
            {
                try { if (File.Exists(partial)) File.Delete(partial); } catch (Exception) { }
            }
        }

        // Sends the local file to the URL (PUT unless told otherwise), with its length, unbuffered; `prepare` may set
        // headers. A failure while sending (the progress callback's too) abandons the request and is what the caller sees.
        long Upload(string localPath, Uri url, string method = "PUT", Action<long, long> progress = null, Action<HttpWebRequest> prepare = null)
        {
            var what = method + " " + url.AbsolutePath;
            Stall stall = null;
            try
            {
                using (var from = new FileStream(localPath, FileMode.Open, FileAccess.Read, FileShare.Read, TransferBuffer))
                {
                    var http = soap.Http(url, method);
                    http.ContentType = "application/octet-stream";
                    http.AllowWriteStreamBuffering = false;
                    http.ContentLength = from.Length;
                    if (prepare != null) prepare(http);
                    long copied;
                    using (stall = new Stall(http, settings.ReadTimeoutMs))
                    {
                        var to = http.GetRequestStream();
                        try { copied = Copy(from, to, from.Length, stall.Watching(progress)); }
                        catch (Exception) { http.Abort(); throw; }
                        to.Dispose();
                        using (var response = (HttpWebResponse)http.GetResponse())
                        {
                            int status = (int)response.StatusCode;
                            if (status < 200 || status > 299)
                                throw new ClientFault("The server answered " + status + " (" + response.StatusDescription + ") to " + what);
                        }
                    }
                    return copied;
                }
            }
            catch (Exception e) when (Stall.Ended(stall, e)) { throw soap.HttpFailure(new WebException(what, WebExceptionStatus.Timeout), what, url); }
            catch (WebException e) { throw soap.HttpFailure(e, what, url); }
            catch (FileNotFoundException) { throw new ClientFault("The local file " + localPath + " was not found"); }
            catch (DirectoryNotFoundException) { throw new ClientFault("The local file " + localPath + " was not found"); }
            catch (IOException e) { throw new ClientFault("The upload of " + localPath + " failed: " + e.Message); }
            catch (UnauthorizedAccessException e) { throw new ClientFault("The upload of " + localPath + " failed: " + e.Message); }
        }

        // Mono arms a timer for every read and write of a request with a ReadWriteTimeout and keeps it until it would have
        // fired: over a long transfer they pile up (memory grows with the bytes moved) and cost a third of the time. One
        // watchdog per transfer instead aborts a request that moves too little for the read timeout: nothing, or a
        // trickle of less than a KiB, which would keep the caller for ever too.
        sealed class Stall : IDisposable
        {
            const long Trickle = 1024;
            readonly HttpWebRequest http;
            readonly long limitMs;
            readonly Stopwatch quiet = Stopwatch.StartNew();
            readonly Timer timer;
            long moved, seen;
            volatile bool expired;

            public Stall(HttpWebRequest http, int timeoutMs)
            {
                this.http = http;
                limitMs = timeoutMs;
                http.ReadWriteTimeout = Timeout.Infinite;
                int period = Math.Max(10, Math.Min(timeoutMs / 4, 1000));
                timer = new Timer(Tick, null, period, period);
            }

            public Action<long, long> Watching(Action<long, long> progress)
            {
                return (copied, length) =>
                {
                    Interlocked.Exchange(ref moved, copied);
                    if (progress != null) progress(copied, length);
                };
            }

            void Tick(object state)
            {
                long now = Interlocked.Read(ref moved);
                if (now - seen >= Trickle) { seen = now; quiet.Restart(); }
                else if (quiet.ElapsedMilliseconds >= limitMs && !expired) { expired = true; http.Abort(); }
            }

            // Whether the failure is the watchdog's doing.
            public static bool Ended(Stall stall, Exception e) { return stall != null && stall.expired && !(e is ClientFault); }

            public void Dispose() { timer.Dispose(); }
        }

        // Mono's TLS is far slower at one large write than at several small ones: the network side gets the bytes in
        // pieces of 64 KiB (measured best; 1 MiB writes ran at a fifth of the rate).
        const int NetworkPiece = 1 << 16;

        static long Copy(Stream from, Stream to, long length, Action<long, long> progress)
        {
            var buffer = new byte[TransferBuffer];
            long copied = 0;
            for (int n; (n = from.Read(buffer, 0, buffer.Length)) > 0;)
                for (int at = 0; at < n; at += NetworkPiece)
                {
                    int piece = Math.Min(NetworkPiece, n - at);
                    to.Write(buffer, at, piece);
                    copied += piece;
                    if (progress != null) progress(copied, length);
                }
            return copied;
        }
    }
}
#endif
