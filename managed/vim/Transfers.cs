#if !NOCLASS && !EMPTY
using System;
using System.IO;
using System.Net;

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
            long copied = 0;
            try
            {
                var http = soap.Http(url, "GET");
                if (prepare != null) prepare(http);
                using (var response = (HttpWebResponse)http.GetResponse())
                {
                    if ((int)response.StatusCode != 200)
                        throw new ClientFault("The server answered " + (int)response.StatusCode + " (" + response.StatusDescription + ") to GET " + url.AbsolutePath);
                    long length = response.ContentLength;
                    using (var from = response.GetResponseStream())
                    using (var to = new FileStream(partial, FileMode.CreateNew, FileAccess.Write, FileShare.None, TransferBuffer))
                        copied = Copy(from, to, length, progress);
                    if (length >= 0 && copied != length)
                        throw new ClientFault("The download of " + url.AbsolutePath + " ended after " + copied + " of " + length + " bytes");
                }
                if (File.Exists(full)) File.Delete(full);
                File.Move(partial, full);
                return copied;
            }
            catch (WebException e) { throw soap.HttpFailure(e, "GET " + url.AbsolutePath, url); }
            catch (IOException e) { throw new ClientFault("The download of " + url.AbsolutePath + " to " + localPath + " failed: " + e.Message); }
            catch (UnauthorizedAccessException e) { throw new ClientFault("The download to " + localPath + " failed: " + e.Message); }
            finally
            {
                try { if (File.Exists(partial)) File.Delete(partial); } catch (Exception) { }
            }
        }

        // Sends the local file to the URL (PUT unless told otherwise), with its length, unbuffered.
        long Upload(string localPath, Uri url, string method = "PUT", Action<long, long> progress = null, Action<HttpWebRequest> prepare = null)
        {
            try
            {
                using (var from = new FileStream(localPath, FileMode.Open, FileAccess.Read, FileShare.Read, TransferBuffer))
                {
                    var http = soap.Http(url, method);
                    if (prepare != null) prepare(http);
                    http.ContentType = "application/octet-stream";
                    http.AllowWriteStreamBuffering = false;
                    http.ContentLength = from.Length;
                    long copied;
                    using (var to = http.GetRequestStream()) copied = Copy(from, to, from.Length, progress);
                    using (var response = (HttpWebResponse)http.GetResponse())
                    {
                        int status = (int)response.StatusCode;
                        if (status < 200 || status > 299)
                            throw new ClientFault("The server answered " + status + " (" + response.StatusDescription + ") to " + method + " " + url.AbsolutePath);
                    }
                    return copied;
                }
            }
            catch (WebException e) { throw soap.HttpFailure(e, method + " " + url.AbsolutePath, url); }
            catch (FileNotFoundException) { throw new ClientFault("The local file " + localPath + " was not found"); }
            catch (DirectoryNotFoundException) { throw new ClientFault("The local file " + localPath + " was not found"); }
            catch (IOException e) { throw new ClientFault("The upload of " + localPath + " failed: " + e.Message); }
            catch (UnauthorizedAccessException e) { throw new ClientFault("The upload of " + localPath + " failed: " + e.Message); }
        }

        // Mono's TLS is far slower at one large write than at several small ones: the network side gets the bytes in
        // pieces of 64 KiB (measured best; 1 MiB writes ran at a fifth of the rate).
        const int NetworkPiece = 1 << 16;

        static long Copy(Stream from, Stream to, long length, Action<long, long> progress)
        {
            var buffer = new byte[TransferBuffer];
            long copied = 0;
            for (int n; (n = from.Read(buffer, 0, buffer.Length)) > 0;)
            {
                for (int at = 0; at < n; at += NetworkPiece) to.Write(buffer, at, Math.Min(NetworkPiece, n - at));
                copied += n;
                if (progress != null) progress(copied, length);
            }
            return copied;
        }
    }
}
#endif
